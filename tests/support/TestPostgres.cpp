#include "support/TestPostgres.h"

#include <QFile>
#include <QProcess>

TestPostgres::TestPostgres()
    : dir_(qEnvironmentVariable("CLAVIMO_TEST_POSTGRES"))
{
    const auto readAll = [this](const QString &name) {
        QFile file(dir_ + "/" + name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    };
    if (dir_.isEmpty())
        reason_ = "CLAVIMO_TEST_POSTGRES is not set: the server is started by ctest's fixture postgres_start";
    else if (!(reason_ = readAll("skip-reason.txt")).isEmpty())
        reason_ = "no PostgreSQL test server: " + reason_;
    for (const QString &line : readAll("harness.env").split('\n'))
        env_.insert(line.section('=', 0, 0), line.section('=', 1));
    if (available() && (port() <= 0 || env_.value("PG_SERVER_SCRIPT").isEmpty()))
        reason_ = QStringLiteral("no PostgreSQL test server in %1 (postgres_start has not run)").arg(dir_);
}

QString TestPostgres::uri(const QString &database, const QString &user) const
{
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(user.isEmpty() ? this->user() : user, host()).arg(port()).arg(database);
}

bool TestPostgres::createDatabase(const QString &name, QString *error, const QString &owner) const
{
    // Two statements: CREATE DATABASE cannot run inside a transaction.
    return execute(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE);\nCREATE DATABASE \"%1\" OWNER \"%2\";\n")
                       .arg(name, owner.isEmpty() ? user() : owner), "postgres", error);
}

bool TestPostgres::execute(const QString &script, const QString &database, QString *error, const QString &user) const
{
    QString output; // nothing when it succeeds: psql runs quietly
    return psql({"--file=-", "--dbname=" + database}, error ? error : &output, user, script.toUtf8());
}

QString TestPostgres::query(const QString &statement, const QString &database) const
{
    QString output;
    const QStringList arguments = {"--tuples-only", "--no-align", "--record-separator= / ", "--command=" + statement,
                                   "--dbname=" + database};
    return psql(arguments, &output) ? output : "error: " + output;
}

bool TestPostgres::control(const QString &command) const
{
    // Its messages go to the test's own output.
    return available() && QProcess::execute("bash", {env_.value("PG_SERVER_SCRIPT"), command, dir_}) == 0;
}

// Runs psql as `user` (the administrator by default) to its end: its standard output, or
// its error output when it failed.
bool TestPostgres::psql(const QStringList &arguments, QString *output, const QString &user, const QByteArray &input) const
{
    *output = reason_;
    if (!available())
        return false;
    QProcess process;
    const QString who = user.isEmpty() ? adminUser() : user;
    // Only the settings given here: the test may have set PGPASSWORD and the like for the
    // program's own connections. Without a locale, the server's messages are in English.
    QProcessEnvironment environment;
    environment.insert("PGPASSWORD", who == this->user() ? password() : who == ownerUser() ? ownerPassword() : env_.value("PG_ADMIN_PASSWORD"));
    environment.insert("PGCLIENTENCODING", "UTF8");
    environment.insert("PGCONNECT_TIMEOUT", "10");
    process.setProcessEnvironment(environment);
    process.start(env_.value("PG_BINDIR") + "/psql", QStringList{"--no-psqlrc", "--quiet", "--set=ON_ERROR_STOP=1", "--host=" + env_.value("PG_SOCKET_DIR"),
                                                                  "--port=" + QString::number(port()), "--username=" + who} + arguments);
    process.write(input);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(90 * 1000);
    if (!finished)
        process.kill();
    const bool ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    *output = QString::fromUtf8(ok ? process.readAllStandardOutput() : process.readAllStandardError()).trimmed();
    return ok;
}
