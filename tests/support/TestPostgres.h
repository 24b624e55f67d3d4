#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The PostgreSQL server the test suite starts for its tests (tests/support/pg_server.sh,
// run by the CTest fixture postgres): where it listens, its roles, databases made fresh
// for a test, statements run as its administrator, and the server stopped, started,
// frozen and resumed as the tests need.
//
// The folder of the server is named by the environment variable CLAVIMO_TEST_POSTGRES
// (set by clavimo_needs_postgres() in tests/CMakeLists.txt). When there is no server
// (PostgreSQL not installed, or the test run outside ctest), available() is false and
// skipReason() says why, for QSKIP.
//
// The object holds only what it read at construction: every call runs its own process
// (psql, pg_ctl) or sends signals, so one object may serve several threads at once.
class TestPostgres
{
public:
    static constexpr const char *kEnvironmentVariable = "CLAVIMO_TEST_POSTGRES";

    TestPostgres();
    explicit TestPostgres(const QString &clusterDir);

    bool available() const;
    QString skipReason() const;

    QString host() const; // 127.0.0.1, the one address the server listens on
    int port() const;
    QString socketDir() const;
    QString user() const; // clavimo: owns the databases made by createDatabase
    QString password() const;
    QString adminUser() const;
    QString adminPassword() const;
    QString ownerUser() const; // clavimo_prof: owns a room's tables, not a superuser
    QString ownerPassword() const;

    // postgresql://USER@127.0.0.1:PORT/DATABASE, with ?sslmode=SSLMODE when one is given;
    // the user defaults to user().
    QString uri(const QString &database, const QString &user = QString(),
                const QString &sslMode = QString()) const;

    // A fresh database owned by `owner`, user() by default: dropped first (its connections
    // closed) if it exists.
    bool createDatabase(const QString &name, QString *error = nullptr, const QString &owner = QString()) const;
    bool dropDatabase(const QString &name, QString *error = nullptr) const;

    // Statements run as the administrator through psql, one after another, each in its own
    // transaction; the first error stops them.
    bool execute(const QString &script, const QString &database = QStringLiteral("postgres"),
                 QString *error = nullptr) const;
    // The rows of one statement, as text; NULL is a null QString. std::nullopt on error.
    // Values must not hold the control characters U+001A, U+001E or U+001F.
    std::optional<QList<QStringList>> queryRows(const QString &statement,
                                                const QString &database = QStringLiteral("postgres"),
                                                QString *error = nullptr) const;
    // The first value of the first row; a null QString when there is none or on error.
    QString queryValue(const QString &statement, const QString &database = QStringLiteral("postgres"),
                       QString *error = nullptr) const;

    // The postmaster's pid, 0 when the server is not running.
    qint64 postmasterPid() const;
    // The postmaster and its children.
    QList<qint64> serverPids() const;
    bool isRunning() const;

    // pg_ctl stop -m immediate: every server process ends at once, as in a crash (resumed
    // first if frozen, since a stopped process handles no signal).
    bool stopImmediate(QString *error = nullptr) const;
    // Starts the stopped server again, on the same port, and waits until it accepts
    // connections.
    bool start(QString *error = nullptr) const;
    // SIGSTOP to the postmaster and every child of it: connections are still accepted by
    // the kernel, but nothing answers. thaw() sends SIGCONT.
    bool freeze(QString *error = nullptr) const;
    bool thaw(QString *error = nullptr) const;
    // Back to serving: thawed, and started if it was stopped.
    bool restore(QString *error = nullptr) const;

private:
    QString tool(const QString &name) const;
    bool runServerTool(const QStringList &arguments, QString *error) const;
    bool runPsql(const QStringList &arguments, const QByteArray &input, const QString &database,
                 QByteArray *output, QString *error) const;

    QString dir_;
    QString skipReason_;
    QString binDir_;
    QString host_;
    int port_ = 0;
    QString socketDir_;
    QString dataDir_;
    QString logFile_;
    QString runAs_;
    QString runAsGroup_;
    QString adminUser_;
    QString adminPassword_;
    QString user_;
    QString password_;
    QString ownerUser_;
    QString ownerPassword_;
};
