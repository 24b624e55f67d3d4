// Guards the classroom's history on a real PostgreSQL server: games kept by several
// programs at once arrive once each, and so do those kept while the server was stopped
// hard or frozen; a frozen server never holds the game up; each bad configuration, an
// unprepared room included, is told once in French while the games stay on the computer;
// the progression is read from the server. The room's preparation leaves the computers'
// role reading and adding believable games only, the same way each time, and moves an old
// room where that role owned everything; a player's games are erased on request.
#include "history/LocalOutbox.h"
#include "history/PlayerErasure.h"
#include "history/ServerHistory.h"
#include "history/ServerPreparation.h"
#include "history/ServerSchema.h"
#include "history/SqliteHistory.h"
#include "support/GameSamples.h"
#include "support/PostgresGuard.h"
#include "support/SqlitePeek.h"
#include "support/TestDoubles.h"
#include "support/TestPostgres.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <random>

namespace {

const QDateTime kMorning(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);

// The games as text, one per line in uid order: the game's figures, then its items, its
// wrong keys in the order typed and its characters due, so that a file and the server can
// be compared whole.
const QString kGamesText = QStringLiteral(
    "SELECT g.uid || '|' || g.player || '|' || g.mode || '|' || g.started_at || '|' || g.finished_at || '|' || g.mini"
    " || '|' || g.average || '|' || g.wrong_keys || '|' || g.practice"
    " || '|' || (SELECT string_agg(i.shown || ':' || i.time_ms || ':' || i.raw_ms || ':' || i.wrong_keys, ',' ORDER BY i.position)"
    "            FROM items AS i WHERE i.game_id = g.id)"
    " || '|' || COALESCE((SELECT string_agg(m.position || m.expected || m.typed, ',' ORDER BY %1) FROM mistakes AS m"
    "                     WHERE m.game_id = g.id), '')"
    " || '|' || (SELECT string_agg(e.character || e.count, ',' ORDER BY e.character) FROM expected_chars AS e"
    "            WHERE e.game_id = g.id)"
    " FROM games AS g WHERE g.uid IS NOT NULL ORDER BY g.uid");

QString serverGames(const TestPostgres &server, const QString &database)
{
    const auto rows = server.queryRows(kGamesText.arg(QStringLiteral("m.id")), database);
    QStringList lines;
    for (const QStringList &row : rows.value_or(QList<QStringList>{{QStringLiteral("error")}}))
        lines << row.value(0);
    return lines.join(QLatin1Char('\n'));
}

QString fileGames(const QString &path)
{
    // SQLite has no string_agg with ORDER BY before 3.44: group_concat over ordered rows.
    QString sql = kGamesText.arg(QStringLiteral("m.rowid"));
    sql.replace(QStringLiteral("string_agg("), QStringLiteral("group_concat("));
    sql.replace(QRegularExpression(QStringLiteral(" ORDER BY [a-z.]+\\)")), QStringLiteral(")"));
    return peek(path, sql).replace(QStringLiteral(" / "), QStringLiteral("\n"));
}

// One computer of the room: its own folder and history file, its message boxes, and its
// link to the server.
struct Computer
{
    QTemporaryDir folder;
    ScriptedBoxes boxes;
    ScriptedWallClock clock;
    std::unique_ptr<SqliteHistory> file;
    std::unique_ptr<ServerHistory> history;

    explicit Computer(const QString &uri)
    {
        file = std::make_unique<SqliteHistory>(boxes, clock, folder.filePath(SqliteHistory::fileName()));
        QString why;
        const auto address = ServerAddress::parse(uri, &why);
        if (address)
            history = std::make_unique<ServerHistory>(*file, *address, boxes);
        else
            qWarning("%s", qPrintable(why));
    }
    ~Computer()
    {
        if (history)
            history->stop(5000);
    }
    int waiting() { return int(LocalOutbox(file->path()).waiting().size()); }
    // Asks for the waiting games to be sent until none is left, for `ms` at most.
    bool sendAll(int ms)
    {
        QElapsedTimer time;
        time.start();
        while (waiting() > 0 && time.elapsed() < ms) {
            QSignalSpy drained(history.get(), &ServerHistory::drained);
            history->flush();
            drained.wait(500);
        }
        return waiting() == 0;
    }
};

} // namespace

class TestServerHistory : public QObject
{
    Q_OBJECT

    TestPostgres server_;
    QTemporaryDir home_;
    std::mt19937 random_{20261207};

    // The room's database prepared by its owner; the computers' address.
    QString freshDatabase(const QString &name)
    {
        QString error;
        if (!server_.createDatabase(name, &error, server_.ownerUser()))
            qWarning("%s", qPrintable(error));
        const RoomCommandResult prepared = prepare(name);
        if (prepared.exitCode != 0)
            qWarning("%s", qPrintable(prepared.error));
        return server_.uri(name);
    }

    RoomCommandResult prepare(const QString &database, const QString &room = QStringLiteral("clavimo"))
    {
        QString why;
        return prepareServer(*ServerAddress::parse(server_.uri(database, server_.ownerUser()), &why), room);
    }

    // Runs the statements in one transaction as the computers' role, as a pupil with its
    // password could; the server's refusal, or nothing when it took them.
    QString asRoom(const QString &database, const QStringList &statements)
    {
        QString refusal;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("pupil"));
            db.setHostName(server_.host());
            db.setPort(server_.port());
            db.setUserName(server_.user());
            db.setDatabaseName(database);
            QSqlQuery q(db);
            if (!db.open())
                refusal = db.lastError().text();
            for (const QString &sql : QStringList{"BEGIN"} + statements + QStringList{"COMMIT"}) {
                if (refusal.isEmpty() && !q.exec(sql))
                    refusal = q.lastError().databaseText();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pupil"));
        return refusal;
    }

    FinishedGame game(const QString &player, int mode = 1)
    {
        return sampleGame(random_, player, mode, kMorning.addSecs(random_() % 100000), 600, 0.1);
    }

    // Starts history writers at once, each a computer of its own, and waits for them.
    QStringList runWriters(const QString &uri, int programs, int games, int pauseMs,
                           const std::function<void(int)> &meanwhile = {})
    {
        std::vector<std::unique_ptr<QProcess>> writers;
        std::vector<std::unique_ptr<QTemporaryDir>> folders;
        for (int i = 0; i < programs; ++i) {
            folders.push_back(std::make_unique<QTemporaryDir>());
            auto p = std::make_unique<QProcess>();
            p->start(QStringLiteral(HISTORY_WRITER),
                     {QStringLiteral("server"), folders.back()->filePath(SqliteHistory::fileName()), uri,
                      QStringLiteral("Élève %1").arg(i + 1), QString::number(games), QString::number(pauseMs)});
            writers.push_back(std::move(p));
        }
        if (meanwhile)
            meanwhile(programs);
        QStringList results;
        for (auto &p : writers) {
            p->waitForFinished(240000);
            results << QString::fromUtf8(p->readAllStandardOutput()).trimmed() + QStringLiteral(" exit ")
                           + QString::number(p->exitCode()) + QStringLiteral(" | ")
                           + QString::fromUtf8(p->readAllStandardError()).trimmed();
        }
        return results;
    }

private slots:
    void initTestCase()
    {
        if (!server_.available())
            QSKIP(qPrintable(server_.skipReason()));
        // The passwords of the computers' role and of the room's owner come from the test's
        // own ~/.pgpass, as on the room's computers, and no file of the tester plays a part.
        qputenv("HOME", home_.path().toLocal8Bit());
        QFile pgpass(home_.filePath(QStringLiteral(".pgpass")));
        QVERIFY(pgpass.open(QIODevice::WriteOnly));
        for (const auto &[user, password] : {std::pair(server_.user(), server_.password()),
                                             std::pair(server_.ownerUser(), server_.ownerPassword())})
            pgpass.write(QStringLiteral("*:*:*:%1:%2\n").arg(user, password).toUtf8());
        pgpass.close();
        QVERIFY(pgpass.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    }

    // A game kept on one computer reaches the server as the file holds it, over TLS, and
    // the progression of any computer reads the games of the whole room.
    void gamesReachTheServer()
    {
        const QString uri = freshDatabase(QStringLiteral("room_basic"));
        Computer first(uri), second(uri);
        for (int i = 0; i < 3; ++i) {
            FinishedGame g = game(QStringLiteral("Léa"));
            g.practice = i == 1; // a targeted practice game arrives marked as one
            first.history->record(g);
        }
        second.history->record(game(QStringLiteral("Zoé"), 6));
        QVERIFY(first.sendAll(20000));
        QVERIFY(second.sendAll(20000));
        QCOMPARE(first.boxes.texts() + second.boxes.texts(), QStringList());
        const QString sent = serverGames(server_, QStringLiteral("room_basic"));
        QCOMPARE(sent.count(QLatin1Char('\n')), 3);
        QStringList kept = (fileGames(first.file->path()) + QLatin1Char('\n') + fileGames(second.file->path())).split('\n');
        QStringList arrived = sent.split(QLatin1Char('\n'));
        kept.sort();
        arrived.sort();
        QCOMPARE(arrived, kept);
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT bool_and(s.ssl) FROM pg_stat_ssl AS s JOIN pg_stat_activity AS a"
                                                   " USING (pid) WHERE a.application_name = 'clavimo'")),
                 QStringLiteral("t"));

        QStringList players = first.history->players();
        players.sort();
        QCOMPARE(players, (QStringList{"Léa", "Zoé"}));
        QCOMPARE(first.history->games(QStringLiteral("Zoé"), 6).size(), 1);
        QCOMPARE(first.history->itemLines(QStringLiteral("Zoé")).size(), 20);
        qint64 due = 0;
        for (const CharacterCount &c : second.history->characterCounts(QStringLiteral("Léa"), 1))
            due += c.expected;
        QCOMPARE(due, 60);
        QCOMPARE(second.file->games(QStringLiteral("Léa"), 1).size(), 0);
        int practice = 0;
        for (const GameSummary &g : second.history->games(QStringLiteral("Léa"), 1))
            practice += g.practice ? 1 : 0;
        QCOMPARE(practice, 1);
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) FROM games WHERE practice = 1"),
                                    QStringLiteral("room_basic")),
                 QStringLiteral("1"));
        // The latest games' figures, for a practice game on another computer.
        qint64 recentDue = 0;
        for (const RecentCharacter &c : second.history->recentCharacters(QStringLiteral("Léa"), 1, 2))
            recentDue += c.expected;
        QCOMPARE(recentDue, 40);
    }

    // The old set-up, where the computers' role owns the database and the tables of the
    // first version: the preparation changes nothing and prints the commands that move the
    // room to its owner; once they are run, it brings the schema to the current version in
    // place. The games there stay, as ordinary games, and a practice game sent afterwards
    // is marked.
    void oldRoomMovedToItsOwner()
    {
        const QString database = QStringLiteral("room_version1");
        QVERIFY(server_.createDatabase(database));
        const QString uri = server_.uri(database);
        QVERIFY(server_.execute(QStringLiteral(
            "CREATE TABLE clavimo_schema(version INTEGER NOT NULL); INSERT INTO clavimo_schema VALUES(1);"
            " CREATE TABLE games(id BIGSERIAL PRIMARY KEY, uid TEXT NOT NULL UNIQUE, player TEXT NOT NULL,"
            " mode INTEGER NOT NULL, started_at TEXT NOT NULL, finished_at TEXT NOT NULL,"
            " mini BIGINT NOT NULL, average BIGINT NOT NULL, wrong_keys BIGINT NOT NULL);"
            " CREATE TABLE items(game_id BIGINT NOT NULL REFERENCES games(id), position INTEGER NOT NULL,"
            " shown TEXT NOT NULL, time_ms BIGINT NOT NULL, raw_ms BIGINT NOT NULL,"
            " wrong_keys BIGINT NOT NULL, PRIMARY KEY(game_id, position));"
            " CREATE TABLE mistakes(id BIGSERIAL PRIMARY KEY, game_id BIGINT NOT NULL REFERENCES games(id),"
            " position INTEGER NOT NULL, expected TEXT NOT NULL, typed TEXT NOT NULL);"
            " CREATE TABLE expected_chars(game_id BIGINT NOT NULL REFERENCES games(id),"
            " character TEXT NOT NULL, count BIGINT NOT NULL, PRIMARY KEY(game_id, character));"
            " CREATE INDEX games_by_player ON games(player, mode, finished_at);"
            " CREATE INDEX mistakes_by_game ON mistakes(game_id);"
            " INSERT INTO games VALUES(1, 'old', 'Léa', 1, '2026-12-01T10:00:00.000Z', '2026-12-01T10:01:00.000Z',"
            " 500, 600, 1);"
            " INSERT INTO items VALUES(1, 1, 'K', 650, 600, 1); INSERT INTO mistakes VALUES(1, 1, 1, 'K', 'L');"
            " INSERT INTO expected_chars VALUES(1, 'K', 1);"
            " ALTER TABLE clavimo_schema OWNER TO clavimo; ALTER TABLE games OWNER TO clavimo;"
            " ALTER TABLE items OWNER TO clavimo; ALTER TABLE mistakes OWNER TO clavimo;"
            " ALTER TABLE expected_chars OWNER TO clavimo; ALTER SEQUENCE games_id_seq OWNER TO clavimo;"
            " ALTER SEQUENCE mistakes_id_seq OWNER TO clavimo; SELECT setval('games_id_seq', 1);"
            " SELECT setval('mistakes_id_seq', 1)"),
                                database));
        const QString oldRows = QStringLiteral("SELECT (SELECT string_agg(uid || ':' || player || ':' || mini, ',') FROM games"
                                               " WHERE uid = 'old') || '|' || (SELECT count(*) FROM items) || '|'"
                                               " || (SELECT count(*) FROM mistakes) || '|' || (SELECT count(*) FROM expected_chars)");
        QCOMPARE(server_.queryValue(oldRows, database), QStringLiteral("old:Léa:500|1|1|1"));
        const RoomCommandResult refused = prepare(database);
        QCOMPARE(refused.exitCode, 2);
        QVERIFY2(refused.error.contains(QStringLiteral("ancienne installation")), qPrintable(refused.error));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT version FROM clavimo_schema"), database), QStringLiteral("1"));
        // The commands as printed, run by the server's administrator.
        const QStringList commands = refused.error.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^    ")));
        QCOMPARE(commands.size(), 2);
        QString error;
        QVERIFY2(server_.execute(commands.join(QLatin1Char('\n')), database, &error), qPrintable(error));
        const RoomCommandResult moved = prepare(database);
        QCOMPARE(moved.error, QString());
        QVERIFY2(moved.output.contains(QStringLiteral("mises à jour de la version 1 à la version 3")), qPrintable(moved.output));
        Computer computer(uri);
        FinishedGame practice = game(QStringLiteral("Léa"));
        practice.practice = true;
        computer.history->record(practice);
        QVERIFY(computer.sendAll(20000));
        QCOMPARE(computer.boxes.texts(), QStringList());
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT string_agg(version::text, ',') FROM clavimo_schema"), database),
                 QString::number(ServerSchema::kVersion));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT practice FROM games WHERE uid = 'old'"), database),
                 QStringLiteral("0"));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) FROM games WHERE practice = 1"), database),
                 QStringLiteral("1"));
        QCOMPARE(server_.queryValue(oldRows, database), QStringLiteral("old:Léa:500|21|%1|%2")
                                                           .arg(1 + practice.wrongKeys())
                                                           .arg(1 + server_.queryValue(QStringLiteral(
                                                                "SELECT count(*) FROM expected_chars WHERE game_id <> 1"),
                                                                database).toInt()));
    }

    // Several programs writing at once, the first two starting together on an empty
    // database: every game there once, nothing else, the schema made once.
    void severalProgramsAtOnce_data()
    {
        QTest::addColumn<int>("programs");
        QTest::addColumn<int>("games");
        QTest::newRow("four first starts, one game each") << 4 << 1;
        QTest::newRow("two programs, 500 games each") << 2 << 500;
        QTest::newRow("four programs, 500 games each") << 4 << 500;
    }
    void severalProgramsAtOnce()
    {
        QFETCH(int, programs);
        QFETCH(int, games);
        const QString database = QStringLiteral("room_%1_%2").arg(programs).arg(games);
        const QString uri = freshDatabase(database);
        QElapsedTimer time;
        time.start();
        const QStringList results = runWriters(uri, programs, games, 0);
        qInfo("%d programs, %d games each: %lld ms", programs, games, time.elapsed());
        for (const QString &result : results)
            QCOMPARE(result, QStringLiteral("done 0 exit 0 | "));
        const int total = programs * games;
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) || ' ' || count(DISTINCT uid) || ' '"
                                                   " || count(DISTINCT player) FROM games"),
                                    database),
                 QStringLiteral("%1 %1 %2").arg(total).arg(programs));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) FROM items"), database), QString::number(total * 20));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) FROM items AS i LEFT JOIN games AS g"
                                                   " ON g.id = i.game_id WHERE g.id IS NULL"),
                                    database),
                 QStringLiteral("0"));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT string_agg(version::text, ',') FROM clavimo_schema"), database),
                 QString::number(ServerSchema::kVersion));
    }

    // The server stopped hard while a program writes: no game lost, none twice, and the
    // player told once.
    void serverStoppedHard()
    {
        const QString database = QStringLiteral("room_crash");
        const QString uri = freshDatabase(database);
        PostgresGuard guard(server_);
        const int games = 200;
        const QStringList results = runWriters(uri, 1, games, 10, [this](int) {
            QTest::qWait(700);
            QVERIFY(server_.stopImmediate());
            QTest::qWait(1500);
            QVERIFY(server_.start());
        });
        QCOMPARE(results.size(), 1);
        QVERIFY2(results[0].startsWith(QStringLiteral("done 0 exit 0 | ")), qPrintable(results[0]));
        QCOMPARE(results[0].count(QStringLiteral("ne peut pas être utilisé")), 1);
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) || ' ' || count(DISTINCT uid) FROM games"), database),
                 QStringLiteral("%1 %1").arg(games));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) FROM items"), database), QString::number(games * 20));
    }

    // A frozen server (it takes the connection and never answers): each game is kept at
    // once, the progression falls back on the file in time, and the games arrive once the
    // server answers again.
    void frozenServer()
    {
        const QString database = QStringLiteral("room_frozen");
        const QString uri = freshDatabase(database);
        PostgresGuard guard(server_);
        Computer computer(uri);
        computer.history->record(game(QStringLiteral("Noé")));
        QVERIFY(computer.sendAll(20000));
        QVERIFY(server_.freeze());
        qint64 slowest = 0;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer time;
            time.start();
            computer.history->record(game(QStringLiteral("Noé")));
            slowest = std::max(slowest, time.elapsed());
            QTest::qWait(50); // the sending thread is now stuck on the server
        }
        qInfo("slowest game kept while the server is frozen: %lld ms", slowest);
        QVERIFY2(slowest < 200, qPrintable(QString::number(slowest)));
        QElapsedTimer reading;
        reading.start();
        QCOMPARE(computer.history->games(QStringLiteral("Noé"), 1).size(), 6);
        QVERIFY(reading.elapsed() < ServerHistory::kReadWaitMs + 1000);
        QCOMPARE(computer.history->players(), QStringList{"Noé"});
        QCOMPARE(computer.boxes.texts().size(), 1);
        QVERIFY2(computer.boxes.texts().constFirst().contains(QStringLiteral("pas de réponse à temps")),
                 qPrintable(computer.boxes.texts().constFirst()));
        QCOMPARE(computer.waiting(), 5);
        QVERIFY(server_.thaw());
        QVERIFY(computer.sendAll(60000));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) || ' ' || count(DISTINCT uid) FROM games"), database),
                 QStringLiteral("6 6"));
        QCOMPARE(computer.boxes.texts().size(), 1);
    }

    // Each bad configuration: a clear French message once, the game goes on, the games are
    // kept on the computer, and nothing is written into a database that is not the game's.
    void badConfigurations_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown host") << "host" << "(nom d'hôte inconnu)";
        QTest::newRow("nothing listens on the port") << "port" << "(connexion refusée)";
        QTest::newRow("wrong password") << "password" << "(utilisateur ou mot de passe refusé)";
        QTest::newRow("unknown user") << "user" << "(utilisateur ou mot de passe refusé)";
        QTest::newRow("missing database") << "missing" << "(la base de données «\u00A0room_missing\u00A0» n'existe pas)";
        QTest::newRow("another program's database") << "foreign"
                                                    << "(la base de données contient les tables d'un autre programme)";
        QTest::newRow("a newer schema") << "newer"
                                        << "(la base de données a été préparée par une version plus récente de Clavimo)";
        const QString unprepared = "(la base de données n'est pas prête pour cette version de Clavimo, "
                                   "l'administrateur doit lancer clavimo --preparer-serveur)";
        QTest::newRow("a room not prepared") << "unprepared" << unprepared;
        QTest::newRow("a room prepared by an older version") << "older" << unprepared;
    }
    void badConfigurations()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString database = QStringLiteral("room_") + kind;
        QString uri = server_.uri(database);
        if (kind == QLatin1String("host"))
            uri = QStringLiteral("postgresql://clavimo@hote-inconnu.invalid:%1/%2").arg(server_.port()).arg(database);
        else if (kind == QLatin1String("port"))
            uri = server_.uri(database).replace(QStringLiteral(":%1/").arg(server_.port()), QStringLiteral(":1/"));
        else if (kind == QLatin1String("user"))
            uri = server_.uri(database, QStringLiteral("inconnu"));
        if (kind == QLatin1String("missing"))
            server_.dropDatabase(database);
        else if (kind == QLatin1String("unprepared"))
            server_.createDatabase(database, nullptr, server_.ownerUser());
        else if (kind == QLatin1String("older"))
            freshDatabase(database);
        else
            server_.createDatabase(database);
        if (kind == QLatin1String("older"))
            QVERIFY(server_.execute(QStringLiteral("UPDATE clavimo_schema SET version = 2"), database));
        if (kind == QLatin1String("foreign"))
            QVERIFY(server_.execute(QStringLiteral("CREATE TABLE games(id integer); CREATE TABLE notes(t text)"), database));
        if (kind == QLatin1String("newer"))
            QVERIFY(server_.execute(QStringLiteral("CREATE TABLE clavimo_schema(version INTEGER NOT NULL);"
                                                   " INSERT INTO clavimo_schema VALUES(99); ALTER TABLE clavimo_schema OWNER TO clavimo"),
                                    database));
        if (kind == QLatin1String("password"))
            qputenv("PGPASSWORD", "faux");
        const auto restorePassword = qScopeGuard([] { qunsetenv("PGPASSWORD"); });

        Computer computer(uri);
        QSignalSpy unavailable(computer.history.get(), &ServerHistory::unavailable);
        QElapsedTimer time;
        time.start();
        computer.history->record(game(QStringLiteral("Inès")));
        QVERIFY(time.elapsed() < 200);
        QVERIFY(unavailable.wait(10000));
        QCOMPARE(computer.boxes.texts(), QStringList()); // not in the middle of the next game
        for (int i = 0; i < 3; ++i)
            computer.history->record(game(QStringLiteral("Inès")));
        QCOMPARE(computer.boxes.texts().size(), 1);
        const QString text = computer.boxes.texts().constFirst();
        QVERIFY2(text.startsWith(QStringLiteral("Le serveur d'historique de la classe «\u00A0postgresql://")), qPrintable(text));
        QVERIFY2(text.contains(reason + QStringLiteral("\u00A0: les parties sont gardées sur cet ordinateur")), qPrintable(text));
        QCOMPARE(computer.waiting(), 4);
        QCOMPARE(computer.file->games(QStringLiteral("Inès"), 1).size() + computer.file->games(QStringLiteral("Inès"), 6).size(), 4);
        if (kind == QLatin1String("foreign") || kind == QLatin1String("newer"))
            QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'"), database),
                     kind == QLatin1String("foreign") ? QStringLiteral("2") : QStringLiteral("1"));
        // Once the room is prepared, the games waiting go.
        if (kind == QLatin1String("unprepared")) {
            QCOMPARE(prepare(database).exitCode, 0);
            QVERIFY(computer.sendAll(30000));
            QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) FROM games"), database), QStringLiteral("4"));
            QCOMPARE(computer.boxes.texts().size(), 1);
        }
    }

    // A room prepared for a newer version while a computer is connected: its next games
    // are kept on the computer, not written into the newer tables.
    void newerRoomWhileConnected()
    {
        const QString database = QStringLiteral("room_upgraded");
        Computer computer(freshDatabase(database));
        computer.history->record(game(QStringLiteral("Noé")));
        QVERIFY(computer.sendAll(20000));
        QVERIFY(server_.execute(QStringLiteral("UPDATE clavimo_schema SET version = 99"), database));
        QSignalSpy unavailable(computer.history.get(), &ServerHistory::unavailable);
        computer.history->record(game(QStringLiteral("Noé")));
        QVERIFY(unavailable.wait(10000));
        QCOMPARE(computer.waiting(), 1);
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) FROM games"), database), QStringLiteral("1"));
    }

    // What a pupil with the computers' password tries with a database tool: every change
    // to what is there is refused, and the game already there stays whole.
    void pupilCannotChangeTheHistory_data()
    {
        QTest::addColumn<QString>("statement");
        for (const char *sql : {"DELETE FROM games", "DELETE FROM mistakes", "UPDATE games SET mini = 1",
                                "UPDATE items SET time_ms = 1", "TRUNCATE games CASCADE", "DROP TABLE items CASCADE",
                                "ALTER TABLE games ADD COLUMN note text", "ALTER TABLE games DROP CONSTRAINT games_plausible",
                                "CREATE TABLE notes(t text)", "CREATE TEMP TABLE notes(t text)", "CREATE SCHEMA notes",
                                "INSERT INTO clavimo_schema VALUES(4)", "DROP TRIGGER games_have_20_items ON games"})
            QTest::newRow(sql) << QString::fromLatin1(sql);
    }
    void pupilCannotChangeTheHistory()
    {
        QFETCH(QString, statement);
        const QString database = QStringLiteral("room_pupil");
        static bool made = false;
        if (!made) {
            Computer computer(freshDatabase(database));
            computer.history->record(game(QStringLiteral("Léa")));
            QVERIFY(computer.sendAll(20000));
            made = true;
        }
        const QString whole = QStringLiteral("SELECT (SELECT count(*) || ' ' || sum(mini) FROM games) || ' '"
                                             " || (SELECT count(*) || ' ' || sum(time_ms) FROM items) || ' '"
                                             " || (SELECT count(*) FROM mistakes)");
        const QString before = server_.queryValue(whole, database);
        const QString refusal = asRoom(database, {statement});
        QVERIFY2(refusal.contains(QStringLiteral("permission denied")) || refusal.contains(QStringLiteral("must be owner")),
                 qPrintable(refusal));
        QCOMPARE(server_.queryValue(whole, database), before);
    }

    // A game typed by hand is kept only when a game could have produced it: one changed
    // figure of a believable game is enough for the server to refuse it.
    void onlyBelievableGames_data()
    {
        QTest::addColumn<QString>("game");  // mode mini average practice
        QTest::addColumn<QString>("items"); // first last time raw
        QTest::addColumn<bool>("kept");
        QTest::newRow("a believable game") << "1 400 500 0" << "1 20 500 450" << true;
        QTest::newRow("Mini above the average") << "1 600 500 0" << "1 20 500 450" << false;
        QTest::newRow("a negative Mini") << "1 -5 500 0" << "1 20 500 450" << false;
        QTest::newRow("a practice flag of 2") << "1 400 500 2" << "1 20 500 450" << false;
        QTest::newRow("a mode of 3") << "3 400 500 0" << "1 20 500 450" << false;
        QTest::newRow("19 items") << "1 400 500 0" << "1 19 500 450" << false;
        QTest::newRow("no item") << "1 400 500 0" << "1 0 500 450" << false;
        QTest::newRow("position 21") << "1 400 500 0" << "2 21 500 450" << false;
        QTest::newRow("a negative time") << "1 400 500 0" << "1 20 -1 -1" << false;
        QTest::newRow("less than the time without penalty") << "1 400 500 0" << "1 20 400 450" << false;
    }
    void onlyBelievableGames()
    {
        QFETCH(QString, game);
        QFETCH(QString, items);
        QFETCH(bool, kept);
        const QString database = QStringLiteral("room_checks");
        static bool made = false;
        if (!made)
            freshDatabase(database);
        made = true;
        const QStringList g = game.split(' ');
        const QStringList i = items.split(' ');
        const QString refusal = asRoom(
            database, {QStringLiteral("INSERT INTO games(uid, player, mode, started_at, finished_at, mini, average,"
                                      " wrong_keys, practice) VALUES(gen_random_uuid()::text, 'Bob', %1, 'a', 'b', %2, %3,"
                                      " 0, %4)").arg(g[0], g[1], g[2], g[3]),
                       QStringLiteral("INSERT INTO items SELECT currval('games_id_seq'), p, 'A', %3, %4, 0"
                                      " FROM generate_series(%1, %2) AS p").arg(i[0], i[1], i[2], i[3])});
        QVERIFY2(kept ? refusal.isEmpty() : refusal.contains(QStringLiteral("violate")) || refusal.contains(QStringLiteral("20 items")),
                 qPrintable(refusal));
    }

    // Preparing twice gives the same rights, read back from the server: reading and adding
    // games, nothing else, and no way to connect for other roles.
    void preparedTwiceTheSame()
    {
        const QString database = QStringLiteral("room_twice");
        freshDatabase(database);
        const QString rights = QStringLiteral(
            "SELECT (SELECT string_agg(grantee || ':' || table_name || ':' || privilege_type, ' '"
            "        ORDER BY grantee, table_name, privilege_type)"
            "        FROM information_schema.role_table_grants WHERE grantee <> 'clavimo_prof' AND table_schema = 'public')"
            " || ' | ' || (SELECT string_agg(grantee || ':' || object_name || ':' || privilege_type, ' '"
            "        ORDER BY object_name) FROM information_schema.role_usage_grants WHERE grantee <> 'clavimo_prof'"
            "        AND object_schema = 'public')"
            " || ' | ' || (SELECT datacl::text FROM pg_database WHERE datname = current_database())"
            " || ' ' || (SELECT nspacl::text FROM pg_namespace WHERE nspname = 'public')"
            " || ' | ' || (SELECT string_agg(relname || '=' || relacl::text, ' ' ORDER BY relname) FROM pg_class"
            "        WHERE relnamespace = 'public'::regnamespace AND relkind IN ('r', 'S'))");
        const QString first = server_.queryValue(rights, database);
        QString expected = QStringLiteral("clavimo:clavimo_schema:SELECT");
        for (const char *table : {"expected_chars", "games", "items", "mistakes"})
            expected += QStringLiteral(" clavimo:%1:INSERT clavimo:%1:SELECT").arg(QLatin1String(table));
        expected += QStringLiteral(" | clavimo:games_id_seq:USAGE clavimo:mistakes_id_seq:USAGE"
                                   " | {clavimo_prof=CTc/clavimo_prof,clavimo=c/clavimo_prof}"
                                   " {pg_database_owner=UC/pg_database_owner,clavimo=U/pg_database_owner} |");
        for (const char *acl : {"clavimo_schema=r", "expected_chars=ar", "games=ar", "games_id_seq=U", "items=ar",
                                "mistakes=ar", "mistakes_id_seq=U"}) {
            const QStringList table = QString::fromUtf8(acl).split('=');
            expected += QStringLiteral(" %1={clavimo_prof=%2/clavimo_prof,clavimo=%3/clavimo_prof}")
                            .arg(table[0], table[1] == "U" ? "rwU" : "arwdDxt", table[1]);
        }
        QCOMPARE(first, expected);
        const RoomCommandResult again = prepare(database);
        QCOMPARE(again.exitCode, 0);
        QVERIFY2(again.output.contains(QStringLiteral("tables déjà à la version 3")), qPrintable(again.output));
        QCOMPARE(server_.queryValue(rights, database), first);
    }

    // A preparation that cannot be done says why, with exit code 2, and changes nothing.
    void preparationRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no server") << "port" << "ne peut pas être utilisé (connexion refusée).";
        QTest::newRow("a room role that does not exist") << "role" << "le rôle «\u00A0inconnu\u00A0» n'existe pas";
        QTest::newRow("not the owner") << "owner" << "le rôle «\u00A0clavimo_prof\u00A0» n'est pas propriétaire de la base";
    }
    void preparationRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString database = QStringLiteral("room_refused");
        QVERIFY(server_.createDatabase(database, nullptr, kind == QLatin1String("owner") ? server_.adminUser() : server_.ownerUser()));
        QString uri = server_.uri(database, server_.ownerUser());
        if (kind == QLatin1String("port"))
            uri.replace(QStringLiteral(":%1/").arg(server_.port()), QStringLiteral(":1/"));
        QString why;
        const RoomCommandResult result =
            prepareServer(*ServerAddress::parse(uri, &why), kind == QLatin1String("role") ? "inconnu" : "clavimo");
        QCOMPARE(result.exitCode, 2);
        QVERIFY2(result.error.startsWith(QStringLiteral("clavimo\u00A0: ")) && result.error.contains(reason),
                 qPrintable(result.error));
        QCOMPARE(server_.queryValue(QStringLiteral("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'"), database),
                 QStringLiteral("0"));
    }

    // Erasing a player removes all their games, with what hangs on them, and nothing else,
    // on the server (as its owner) or in a computer's file; names compare as in the game.
    void erasePlayer_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("question"); // how it starts; empty when none is asked
        QTest::addColumn<QString>("left");     // the players of the games left
        QTest::addColumn<int>("exitCode");
        const QString two = QStringLiteral("Effacer les 2 parties de «\u00A0%1\u00A0» de l'historique");
        QTest::newRow("server, capitals") << "server" << "LÉA" << true << two.arg("LÉA") << "Zoé" << 0;
        QTest::newRow("file, spaces and small letters") << "file" << " léa  " << true << two.arg("léa") << "Zoé" << 0;
        QTest::newRow("server, not confirmed") << "server" << "léa" << false << two.arg("léa") << "Léa Léa Zoé" << 1;
        QTest::newRow("file, another name") << "file" << "Lea" << true << "" << "Léa Léa Zoé" << 0;
    }
    void erasePlayer()
    {
        QFETCH(QString, where);
        QFETCH(QString, name);
        QFETCH(bool, confirmed);
        QFETCH(QString, question);
        QFETCH(QString, left);
        QFETCH(int, exitCode);
        const QString database = QStringLiteral("room_erase");
        const bool onServer = where == QLatin1String("server");
        Computer computer(onServer ? freshDatabase(database) : QStringLiteral("postgresql://p@h.invalid/b"));
        for (const QString &player : {QStringLiteral("Léa"), QStringLiteral("Zoé"), QStringLiteral("Léa")})
            computer.history->record(game(player));
        if (onServer)
            QVERIFY(computer.sendAll(20000));
        else
            computer.history->stop(5000); // the games stay in the file's outbox
        QString asked;
        QString why;
        const auto address = onServer ? ServerAddress::parse(server_.uri(database, server_.ownerUser()), &why)
                                      : std::optional<ServerAddress>();
        const RoomCommandResult result = ::erasePlayer(address, computer.file->path(), name, [&](const QString &q) {
            asked = q;
            return confirmed;
        });
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(question.isEmpty() ? asked.isEmpty() : asked.startsWith(question), qPrintable(asked));
        // The players of the games left, and the rows of games gone that stayed behind.
        const QString players = QStringLiteral("SELECT %1 FROM (SELECT player FROM games ORDER BY player) AS p");
        const QString orphans = QStringLiteral(
            "SELECT (SELECT count(*) FROM items WHERE game_id NOT IN (SELECT id FROM games))"
            " + (SELECT count(*) FROM mistakes WHERE game_id NOT IN (SELECT id FROM games))"
            " + (SELECT count(*) FROM expected_chars WHERE game_id NOT IN (SELECT id FROM games))");
        if (onServer) {
            QCOMPARE(server_.queryValue(players.arg("string_agg(player, ' ')"), database), left);
            QCOMPARE(server_.queryValue(orphans, database), QStringLiteral("0"));
        } else {
            const QString file = computer.file->path();
            QCOMPARE(peek(file, players.arg("group_concat(player, ' ')")), left);
            QCOMPARE(peek(file, orphans + QStringLiteral(" + (SELECT count(*) FROM outbox WHERE game_id NOT IN"
                                                          " (SELECT id FROM games))")),
                     QStringLiteral("0"));
        }
    }

    void cleanupTestCase()
    {
        qunsetenv("PGPASSWORD");
    }
};

QTEST_GUILESS_MAIN(TestServerHistory)
#include "tst_server_history.moc"
