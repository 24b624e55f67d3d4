#include "support/TestPostgres.h"

#include <QFile>
#include <QProcess>
#include <QUrl>

namespace {

constexpr int kToolTimeoutMs = 90 * 1000;

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

QString identifier(QString name)
{
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// Runs a program to its end; its standard output, or the reason it failed.
bool run(QProcess &process, const QString &program, const QStringList &arguments, QString *output,
         const QByteArray &input = QByteArray())
{
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(kToolTimeoutMs);
    if (!finished)
        process.kill();
    const bool ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = QString::fromUtf8(ok ? process.readAllStandardOutput() : process.readAllStandardError()).trimmed();
    return ok;
}

} // namespace

TestPostgres::TestPostgres()
    : dir_(qEnvironmentVariable("CLAVIMO_TEST_POSTGRES"))
{
    if (dir_.isEmpty()) {
        reason_ = QStringLiteral("CLAVIMO_TEST_POSTGRES is not set: the PostgreSQL tests run through ctest, whose "
                                 "fixture postgres_start starts the server");
        return;
    }
    reason_ = readAll(dir_ + QStringLiteral("/skip-reason.txt"));
    if (!reason_.isEmpty()) {
        reason_ = QStringLiteral("no PostgreSQL test server: ") + reason_;
        return;
    }
    for (const QString &line : readAll(dir_ + QStringLiteral("/harness.env")).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            env_.insert(line.left(equals), line.mid(equals + 1));
    }
    if (port() <= 0 || user().isEmpty() || env_.value(QStringLiteral("PG_SERVER_SCRIPT")).isEmpty())
        reason_ = QStringLiteral("no PostgreSQL test server in %1 (postgres_start has not run)").arg(dir_);
}

QString TestPostgres::uri(const QString &database, const QString &user) const
{
    return QStringLiteral("postgresql://%1@%2:%3/%4")
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(user.isEmpty() ? this->user() : user)), host())
        .arg(port())
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(database)));
}

bool TestPostgres::createDatabase(const QString &name, QString *error, const QString &owner) const
{
    // Two statements: CREATE DATABASE cannot run inside a transaction.
    return execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);\nCREATE DATABASE %1 OWNER %2;\n")
                       .arg(identifier(name), identifier(owner.isEmpty() ? user() : owner)),
                   QStringLiteral("postgres"), error);
}

bool TestPostgres::execute(const QString &script, const QString &database, QString *error) const
{
    QString output;
    const bool ok = psql({QStringLiteral("--file=-")}, database, &output, script.toUtf8());
    if (!ok && error)
        *error = output;
    return ok;
}

QString TestPostgres::query(const QString &statement, const QString &database) const
{
    QString output;
    return psql({QStringLiteral("--tuples-only"), QStringLiteral("--no-align"), QStringLiteral("--command=") + statement},
                database, &output)
        ? output
        : QStringLiteral("error: ") + output;
}

bool TestPostgres::control(const QString &command) const
{
    QProcess process;
    QString output;
    const bool ok = run(process, QStringLiteral("bash"), {env_.value(QStringLiteral("PG_SERVER_SCRIPT")), command, dir_}, &output);
    if (!ok)
        qWarning("pg_server.sh %s: %s", qPrintable(command), qPrintable(output));
    return ok;
}

bool TestPostgres::psql(const QStringList &arguments, const QString &database, QString *output,
                        const QByteArray &input) const
{
    if (!available()) {
        *output = reason_;
        return false;
    }
    // Only the settings given here: the test may have set PGPASSWORD and the like for its own
    // connections.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &key : environment.keys()) {
        if (key.startsWith(QLatin1String("PG")))
            environment.remove(key);
    }
    environment.insert(QStringLiteral("PGPASSWORD"), env_.value(QStringLiteral("PG_ADMIN_PASSWORD")));
    environment.insert(QStringLiteral("PGCLIENTENCODING"), QStringLiteral("UTF8"));
    environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
    QProcess process;
    process.setProcessEnvironment(environment);
    return run(process, env_.value(QStringLiteral("PG_BINDIR")) + QStringLiteral("/psql"),
               QStringList{QStringLiteral("--no-psqlrc"), QStringLiteral("--quiet"), QStringLiteral("--set=ON_ERROR_STOP=1"),
                           QStringLiteral("--host=") + env_.value(QStringLiteral("PG_SOCKET_DIR")),
                           QStringLiteral("--port=%1").arg(port()), QStringLiteral("--username=") + adminUser(),
                           QStringLiteral("--dbname=") + database}
                   + arguments,
               output, input);
}
