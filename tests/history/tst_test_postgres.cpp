// Guards the PostgreSQL server the suite starts for its tests: the clavimo role reaches it
// through the QPSQL driver over TLS with its password from PGPASSWORD or ~/.pgpass, its
// databases are made fresh and its own, statements run as the administrator read back
// exactly, and the server frozen or stopped hard refuses connections in time and serves
// again once thawed or started, also when a test leaves early.
#include "support/PostgresGuard.h"
#include "support/TestPostgres.h"

#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

using Rows = QList<QStringList>;

namespace {

const QString kDatabase = QStringLiteral("harness_check");
const QString kSslOfThisConnection = QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()");

// What one connection attempt gave: opened or the driver's error, the first value of the
// statement run on it, and how long opening took.
struct Attempt
{
    bool opened = false;
    QString error;
    QString value;
    qint64 ms = 0;
};

// The environment variables libpq reads for a password, set for one attempt and put back
// afterwards; HOME always points to a folder of the test, so that the tester's own
// ~/.pgpass plays no part.
class PasswordEnvironment
{
public:
    PasswordEnvironment()
    {
        for (const char *name : {"HOME", "PGPASSWORD", "PGPASSFILE", "PGSSLMODE", "PGCONNECT_TIMEOUT"}) {
            saved_ << Saved{name, qEnvironmentVariableIsSet(name), qgetenv(name)};
            qunsetenv(name);
        }
        qputenv("HOME", home_.path().toLocal8Bit());
    }

    ~PasswordEnvironment()
    {
        for (const Saved &s : saved_) {
            if (s.set)
                qputenv(s.name, s.value);
            else
                qunsetenv(s.name);
        }
    }

    void setPassword(const QString &password) { qputenv("PGPASSWORD", password.toUtf8()); }

    // A ~/.pgpass of one line, readable by its owner only, as libpq demands.
    bool writePgpass(const QString &line)
    {
        QFile file(home_.filePath(QStringLiteral(".pgpass")));
        return file.open(QIODevice::WriteOnly) && file.write(line.toUtf8() + '\n') > 0
               && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

private:
    struct Saved
    {
        const char *name;
        bool set;
        QByteArray value;
    };
    QTemporaryDir home_;
    QList<Saved> saved_;
};

QString render(const Rows &rows)
{
    QStringList lines;
    for (QStringList row : rows) {
        for (QString &value : row) {
            if (value.isNull())
                value = QStringLiteral("<NULL>");
        }
        lines << row.join(QLatin1Char('|'));
    }
    return lines.join(QStringLiteral(" / "));
}

} // namespace

class TestTestPostgres : public QObject
{
    Q_OBJECT

private:
    // Opens a QPSQL connection as clavimo (no password given: libpq finds it), runs
    // `statement` and closes.
    Attempt attempt(const QString &options, const QString &database = kDatabase,
                    const QString &statement = kSslOfThisConnection)
    {
        Attempt result;
        const QString name = QStringLiteral("attempt%1").arg(++connections_);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(server_.host());
            db.setPort(server_.port());
            db.setDatabaseName(database);
            db.setUserName(server_.user());
            db.setConnectOptions(options);
            QElapsedTimer timer;
            timer.start();
            result.opened = db.open();
            result.ms = timer.elapsed();
            if (result.opened) {
                QSqlQuery query(db);
                if (query.exec(statement) && query.next())
                    result.value = query.value(0).toString();
                else
                    result.error = query.lastError().text();
            } else {
                result.error = db.lastError().text();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return result;
    }

    // Connects with PGPASSWORD set to the right password.
    Attempt attemptWithPassword(const QString &options, const QString &database = kDatabase,
                                const QString &statement = kSslOfThisConnection)
    {
        PasswordEnvironment environment;
        environment.setPassword(server_.password());
        return attempt(options, database, statement);
    }

    TestPostgres server_;
    int connections_ = 0;

private slots:
    void initTestCase()
    {
        if (!server_.available())
            QSKIP(qPrintable(server_.skipReason()));
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            QSKIP("the QPSQL driver of Qt SQL is not installed (Debian package libqt6sql6-psql)");
        QString error;
        QVERIFY2(server_.createDatabase(kDatabase, &error), qPrintable(error));
    }

    void cleanupTestCase()
    {
        if (server_.available())
            server_.dropDatabase(kDatabase);
    }

    void connects_data()
    {
        QTest::addColumn<QString>("passwordFrom");
        QTest::addColumn<QString>("sslMode");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("expected"); // the ssl column, or a part of the error

        QTest::newRow("PGPASSWORD, TLS preferred") << "PGPASSWORD" << "prefer" << true << "true";
        QTest::newRow(".pgpass, TLS preferred") << ".pgpass" << "prefer" << true << "true";
        QTest::newRow("PGPASSWORD, TLS required") << "PGPASSWORD" << "require" << true << "true";
        QTest::newRow("PGPASSWORD, TLS off") << "PGPASSWORD" << "disable" << true << "false";
        QTest::newRow("wrong PGPASSWORD") << "wrong PGPASSWORD" << "prefer" << false
                                          << "password authentication failed";
        QTest::newRow(".pgpass of another port") << ".pgpass of another port" << "prefer" << false
                                                 << "no password supplied";
        QTest::newRow("no password") << "nowhere" << "prefer" << false << "no password supplied";
    }

    void connects()
    {
        QFETCH(QString, passwordFrom);
        QFETCH(QString, sslMode);
        QFETCH(bool, opens);
        QFETCH(QString, expected);

        PasswordEnvironment environment;
        const QString pgpass = QStringLiteral("%1:%2:*:%3:%4").arg(server_.host());
        if (passwordFrom == QLatin1String("PGPASSWORD"))
            environment.setPassword(server_.password());
        else if (passwordFrom == QLatin1String("wrong PGPASSWORD"))
            environment.setPassword(server_.password() + QLatin1Char('x'));
        else if (passwordFrom == QLatin1String(".pgpass"))
            QVERIFY(environment.writePgpass(pgpass.arg(server_.port()).arg(server_.user(), server_.password())));
        else if (passwordFrom == QLatin1String(".pgpass of another port"))
            QVERIFY(environment.writePgpass(pgpass.arg(server_.port() + 1).arg(server_.user(), server_.password())));

        const Attempt result = attempt(QStringLiteral("sslmode=%1;connect_timeout=2").arg(sslMode));
        QVERIFY2(result.opened == opens, qPrintable(result.error));
        if (opens)
            QCOMPARE(result.value, expected);
        else
            QVERIFY2(result.error.contains(expected), qPrintable(result.error));
    }

    // A database made by the harness is clavimo's own, and made again it starts empty,
    // even while clavimo is still connected to the old one.
    void freshDatabases()
    {
        const QString name = QStringLiteral("harness_fresh");
        QString error;
        QVERIFY2(server_.createDatabase(name, &error), qPrintable(error));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT pg_get_userbyid(datdba) FROM pg_database "
                                                   "WHERE datname = 'harness_fresh'")),
                 server_.user());
        const Attempt created = attemptWithPassword(QStringLiteral("sslmode=prefer"), name,
                                                    QStringLiteral("CREATE TABLE games AS SELECT 1 AS id"));
        QVERIFY2(created.opened && created.error.isEmpty(), qPrintable(created.error));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) FROM games"), name), QStringLiteral("1"));

        {
            PasswordEnvironment environment;
            environment.setPassword(server_.password());
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("held"));
            db.setHostName(server_.host());
            db.setPort(server_.port());
            db.setDatabaseName(name);
            db.setUserName(server_.user());
            QVERIFY2(db.open(), qPrintable(db.lastError().text()));
            QVERIFY2(server_.createDatabase(name, &error), qPrintable(error));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("held"));
        QCOMPARE(attemptWithPassword(QStringLiteral("sslmode=prefer"), name,
                                     QStringLiteral("SELECT to_regclass('games') IS NULL"))
                     .value,
                 QStringLiteral("true"));

        QVERIFY2(server_.dropDatabase(name, &error), qPrintable(error));
        const Attempt dropped = attemptWithPassword(QStringLiteral("sslmode=prefer"), name);
        QVERIFY(!dropped.opened);
        QVERIFY2(dropped.error.contains(QLatin1String("does not exist")), qPrintable(dropped.error));
    }

    void adminQueries_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("rows"); // rows by " / ", values by "|"
        QTest::addColumn<int>("rowCount");

        QTest::newRow("one value") << "SELECT 42" << true << "42" << 1;
        QTest::newRow("rows and columns") << "SELECT x, x * 2 FROM generate_series(1, 3) x" << true
                                          << "1|2 / 2|4 / 3|6" << 3;
        QTest::newRow("no row") << "SELECT 1 WHERE false" << true << "" << 0;
        QTest::newRow("one empty value") << "SELECT ''" << true << "" << 1;
        QTest::newRow("null, empty, line feeds, accents")
            << "SELECT NULL, '', E'a\\nb\\n', 'éçà « »'" << true << "<NULL>||a\nb\n|éçà « »" << 1;
        QTest::newRow("unknown column") << "SELECT nosuch" << false << "nosuch" << 0;
    }

    void adminQueries()
    {
        QFETCH(QString, statement);
        QFETCH(bool, ok);
        QFETCH(QString, rows);
        QFETCH(int, rowCount);

        QString error;
        const std::optional<Rows> result = server_.queryRows(statement, QStringLiteral("postgres"), &error);
        QCOMPARE(result.has_value(), ok);
        if (ok) {
            QCOMPARE(render(*result), rows);
            QCOMPARE(result->size(), rowCount);
        } else {
            QVERIFY2(error.contains(rows), qPrintable(error));
        }
    }

    // The administrator's statements from several threads while the test holds a
    // connection of its own.
    void adminFromThreads()
    {
        PasswordEnvironment environment;
        environment.setPassword(server_.password());
        auto removeLater = qScopeGuard([] { QSqlDatabase::removeDatabase(QStringLiteral("busy")); });
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("busy"));
        db.setHostName(server_.host());
        db.setPort(server_.port());
        db.setDatabaseName(kDatabase);
        db.setUserName(server_.user());
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));

        std::atomic<int> right = 0;
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([this, t, &right] {
                for (int i = 0; i < 3; ++i) {
                    const int n = t * 10 + i;
                    if (server_.queryValue(QStringLiteral("SELECT %1 + 1").arg(n)) == QString::number(n + 1))
                        ++right;
                }
            });
        }
        QSqlQuery query(db);
        int answered = 0;
        for (int i = 0; i < 20; ++i)
            answered += query.exec(QStringLiteral("SELECT 1")) ? 1 : 0;
        for (std::thread &thread : threads)
            thread.join();
        QCOMPARE(answered, 20);
        QCOMPARE(right.load(), 12);
        db.close();
    }

    void frozenServer()
    {
        PostgresGuard guard(server_);
        PasswordEnvironment environment;
        environment.setPassword(server_.password());

        // A connection opened before the freeze, in a thread of its own (a connection
        // belongs to the thread that made it): its statement gets no answer while the
        // server is frozen, since its server process is stopped too.
        enum Stage { Opening, Connected, Failed, Asked, Answered };
        std::atomic<int> stage = Opening;
        std::thread client([this, &stage] {
            const QString name = QStringLiteral("held");
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
                db.setHostName(server_.host());
                db.setPort(server_.port());
                db.setDatabaseName(kDatabase);
                db.setUserName(server_.user());
                stage = db.open() ? Connected : Failed;
                while (stage == Connected)
                    QThread::msleep(1);
                if (stage == Asked) {
                    QSqlQuery query(db);
                    query.exec(QStringLiteral("SELECT 1"));
                    stage = Answered;
                }
            }
            QSqlDatabase::removeDatabase(name);
        });
        auto joinClient = qScopeGuard([this, &stage, &client] {
            server_.thaw();
            if (stage == Connected)
                stage = Failed;
            client.join();
        });
        QTRY_VERIFY(stage != Opening);
        QCOMPARE(stage.load(), int(Connected));

        QElapsedTimer timer;
        QString error;
        timer.start();
        QVERIFY2(server_.freeze(&error), qPrintable(error));
        const qint64 freezing = timer.elapsed();
        stage = Asked;
        QTest::qWait(300);
        QCOMPARE(stage.load(), int(Asked));

        // The kernel still accepts the connection; only the timeout ends the wait.
        const Attempt frozen = attempt(QStringLiteral("sslmode=prefer;connect_timeout=2"));
        QVERIFY(!frozen.opened);
        QVERIFY2(frozen.ms >= 1500 && frozen.ms <= 3500, qPrintable(QString::number(frozen.ms)));
        QVERIFY2(frozen.error.contains(QLatin1String("timeout")), qPrintable(frozen.error));

        timer.restart();
        QVERIFY2(server_.thaw(&error), qPrintable(error));
        const Attempt thawed = attempt(QStringLiteral("sslmode=prefer;connect_timeout=2"));
        const qint64 thawing = timer.elapsed();
        QVERIFY2(thawed.opened, qPrintable(thawed.error));
        QCOMPARE(thawed.value, QStringLiteral("true"));
        QTRY_COMPARE(stage.load(), int(Answered));
        qInfo("freeze: %lld ms; frozen connection given up after %lld ms; thaw and first connection: %lld ms",
              freezing, frozen.ms, thawing);
    }

    void stoppedServer()
    {
        PostgresGuard guard(server_);
        QElapsedTimer timer;
        QString error;
        timer.start();
        QVERIFY2(server_.stopImmediate(&error), qPrintable(error));
        const qint64 stopping = timer.elapsed();
        QVERIFY(!server_.isRunning());

        const Attempt stopped = attemptWithPassword(QStringLiteral("sslmode=prefer;connect_timeout=2"));
        QVERIFY(!stopped.opened);
        QVERIFY2(stopped.ms < 1000, qPrintable(QString::number(stopped.ms)));
        QVERIFY2(stopped.error.contains(QLatin1String("refused")), qPrintable(stopped.error));

        timer.restart();
        QVERIFY2(server_.start(&error), qPrintable(error));
        const qint64 starting = timer.elapsed();
        const Attempt started = attemptWithPassword(QStringLiteral("sslmode=prefer;connect_timeout=2"));
        QVERIFY2(started.opened, qPrintable(started.error));
        QCOMPARE(started.value, QStringLiteral("true"));
        qInfo("stop -m immediate: %lld ms; refused after %lld ms; start again (with crash recovery): %lld ms",
              stopping, stopped.ms, starting);
    }

    // A test that leaves with the server frozen or stopped hands it back serving.
    void guardRestores_data()
    {
        QTest::addColumn<bool>("freeze");
        QTest::newRow("frozen") << true;
        QTest::newRow("stopped") << false;
    }

    void guardRestores()
    {
        QFETCH(bool, freeze);
        {
            PostgresGuard guard(server_);
            QString error;
            QVERIFY2(freeze ? server_.freeze(&error) : server_.stopImmediate(&error), qPrintable(error));
        }
        const Attempt after = attemptWithPassword(QStringLiteral("sslmode=prefer;connect_timeout=2"));
        QVERIFY2(after.opened, qPrintable(after.error));
    }
};

QTEST_GUILESS_MAIN(TestTestPostgres)
#include "tst_test_postgres.moc"
