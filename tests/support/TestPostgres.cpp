#include "support/TestPostgres.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

namespace {

constexpr int kToolTimeoutMs = 90 * 1000;
const QChar kFieldSeparator(0x1f);
const QChar kRecordSeparator(0x1e);
const QChar kNullMarker(0x1a);

QString readTrimmed(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString quotedIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The state letter and the parent of a process, from /proc/PID/stat; the command name in
// parentheses may hold spaces and parentheses, so the fields are read after the last ')'.
struct ProcessState
{
    QChar state;
    qint64 parent = 0;
};

std::optional<ProcessState> processState(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = file.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (fields.size() < 2 || fields[0].isEmpty())
        return std::nullopt;
    return ProcessState{QChar::fromLatin1(fields[0].at(0)), fields[1].toLongLong()};
}

bool ended(const std::optional<ProcessState> &state)
{
    // A zombie has ended; its parent may be slow to reap it.
    return !state || state->state == QLatin1Char('Z') || state->state == QLatin1Char('X');
}

QList<qint64> childrenOf(qint64 parent)
{
    QList<qint64> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        const auto state = processState(pid);
        if (state && state->parent == parent && !ended(state))
            children << pid;
    }
    return children;
}

enum class Signal { Stop, Continue };

bool sendSignal(const QList<qint64> &pids, Signal signal, QString *error)
{
#ifdef Q_OS_UNIX
    bool ok = true;
    for (qint64 pid : pids) {
        if (::kill(pid_t(pid), signal == Signal::Stop ? SIGSTOP : SIGCONT) != 0 && processState(pid)) {
            ok = false;
            if (error)
                *error = QStringLiteral("the server process %1 could not be signalled").arg(pid);
        }
    }
    return ok;
#else
    Q_UNUSED(pids);
    Q_UNUSED(signal);
    if (error)
        *error = QStringLiteral("signals need a Unix system");
    return false;
#endif
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

TestPostgres::TestPostgres()
    : TestPostgres(qEnvironmentVariable(kEnvironmentVariable))
{
    if (dir_.isEmpty())
        skipReason_ = QStringLiteral("%1 is not set: the PostgreSQL tests run through ctest, whose fixture "
                                     "postgres_start starts the server").arg(QLatin1String(kEnvironmentVariable));
}

TestPostgres::TestPostgres(const QString &clusterDir)
    : dir_(clusterDir)
{
    if (dir_.isEmpty()) {
        skipReason_ = QStringLiteral("no folder given for the PostgreSQL test server");
        return;
    }
    const QString reason = readTrimmed(dir_ + QStringLiteral("/skip-reason.txt"));
    if (!reason.isEmpty()) {
        skipReason_ = QStringLiteral("no PostgreSQL test server: ") + reason;
        return;
    }
    QFile file(dir_ + QStringLiteral("/harness.env"));
    if (!file.open(QIODevice::ReadOnly)) {
        skipReason_ = QStringLiteral("no PostgreSQL test server in %1 (no harness.env: postgres_start has not run)")
                          .arg(dir_);
        return;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        if (key == QLatin1String("PG_BINDIR"))
            binDir_ = value;
        else if (key == QLatin1String("PG_HOST"))
            host_ = value;
        else if (key == QLatin1String("PG_PORT"))
            port_ = value.toInt();
        else if (key == QLatin1String("PG_SOCKET_DIR"))
            socketDir_ = value;
        else if (key == QLatin1String("PG_DATA"))
            dataDir_ = value;
        else if (key == QLatin1String("PG_LOG"))
            logFile_ = value;
        else if (key == QLatin1String("PG_RUN_AS"))
            runAs_ = value;
        else if (key == QLatin1String("PG_RUN_AS_GROUP"))
            runAsGroup_ = value;
        else if (key == QLatin1String("PG_ADMIN_USER"))
            adminUser_ = value;
        else if (key == QLatin1String("PG_ADMIN_PASSWORD"))
            adminPassword_ = value;
        else if (key == QLatin1String("PG_USER"))
            user_ = value;
        else if (key == QLatin1String("PG_PASSWORD"))
            password_ = value;
        else if (key == QLatin1String("PG_OWNER_USER"))
            ownerUser_ = value;
        else if (key == QLatin1String("PG_OWNER_PASSWORD"))
            ownerPassword_ = value;
    }
    if (binDir_.isEmpty() || host_.isEmpty() || port_ <= 0 || dataDir_.isEmpty() || adminUser_.isEmpty()
        || user_.isEmpty())
        skipReason_ = QStringLiteral("%1/harness.env is incomplete").arg(dir_);
}

bool TestPostgres::available() const
{
    return skipReason_.isEmpty();
}

QString TestPostgres::skipReason() const
{
    return skipReason_;
}

QString TestPostgres::host() const
{
    return host_;
}

int TestPostgres::port() const
{
    return port_;
}

QString TestPostgres::socketDir() const
{
    return socketDir_;
}

QString TestPostgres::user() const
{
    return user_;
}

QString TestPostgres::password() const
{
    return password_;
}

QString TestPostgres::adminUser() const
{
    return adminUser_;
}

QString TestPostgres::adminPassword() const
{
    return adminPassword_;
}

QString TestPostgres::ownerUser() const
{
    return ownerUser_;
}

QString TestPostgres::ownerPassword() const
{
    return ownerPassword_;
}

QString TestPostgres::uri(const QString &database, const QString &user, const QString &sslMode) const
{
    const QString who = user.isEmpty() ? user_ : user;
    QString text = QStringLiteral("postgresql://%1@%2:%3/%4")
                       .arg(QString::fromLatin1(QUrl::toPercentEncoding(who)), host_)
                       .arg(port_)
                       .arg(QString::fromLatin1(QUrl::toPercentEncoding(database)));
    if (!sslMode.isEmpty())
        text += QStringLiteral("?sslmode=") + sslMode;
    return text;
}

bool TestPostgres::createDatabase(const QString &name, QString *error, const QString &owner) const
{
    // Two statements, each on its own: CREATE DATABASE cannot run inside a transaction.
    return execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);\nCREATE DATABASE %1 OWNER %2;\n")
                       .arg(quotedIdentifier(name), quotedIdentifier(owner.isEmpty() ? user_ : owner)),
                   QStringLiteral("postgres"), error);
}

bool TestPostgres::dropDatabase(const QString &name, QString *error) const
{
    return execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);\n").arg(quotedIdentifier(name)),
                   QStringLiteral("postgres"), error);
}

bool TestPostgres::execute(const QString &script, const QString &database, QString *error) const
{
    return runPsql({QStringLiteral("--file=-")}, script.toUtf8(), database, nullptr, error);
}

std::optional<QList<QStringList>> TestPostgres::queryRows(const QString &statement, const QString &database,
                                                          QString *error) const
{
    QByteArray output;
    const QStringList arguments{QStringLiteral("--tuples-only"), QStringLiteral("--no-align"),
                                QStringLiteral("--field-separator=") + kFieldSeparator,
                                QStringLiteral("--record-separator=") + kRecordSeparator,
                                QStringLiteral("--pset=null=") + kNullMarker,
                                QStringLiteral("--command=") + statement};
    if (!runPsql(arguments, QByteArray(), database, &output, error))
        return std::nullopt;

    // No rows print nothing; otherwise the records, then one line feed.
    QList<QStringList> rows;
    if (output.isEmpty())
        return rows;
    QString text = QString::fromUtf8(output);
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    for (const QString &record : text.split(kRecordSeparator)) {
        QStringList values = record.split(kFieldSeparator);
        for (QString &value : values) {
            if (value == kNullMarker)
                value = QString();
        }
        rows << values;
    }
    return rows;
}

QString TestPostgres::queryValue(const QString &statement, const QString &database, QString *error) const
{
    const auto rows = queryRows(statement, database, error);
    if (!rows || rows->isEmpty() || rows->first().isEmpty())
        return QString();
    return rows->first().first();
}

qint64 TestPostgres::postmasterPid() const
{
    // postmaster.pid may be left by a server that died; the pid is the server's only if
    // that process works in the data folder, as the server does.
    const qint64 pid = readTrimmed(dataDir_ + QStringLiteral("/postmaster.pid")).section(QLatin1Char('\n'), 0, 0).toLongLong();
    if (pid <= 0 || ended(processState(pid)))
        return 0;
    const QString cwd = QFileInfo(QStringLiteral("/proc/%1/cwd").arg(pid)).canonicalFilePath();
    if (cwd.isEmpty() || cwd != QFileInfo(dataDir_).canonicalFilePath())
        return 0;
    return pid;
}

QList<qint64> TestPostgres::serverPids() const
{
    const qint64 pid = postmasterPid();
    if (pid == 0)
        return {};
    return QList<qint64>{pid} + childrenOf(pid);
}

bool TestPostgres::isRunning() const
{
    return postmasterPid() != 0;
}

bool TestPostgres::stopImmediate(QString *error) const
{
    if (!thaw(error))
        return false;
    if (!isRunning())
        return true;
    return runServerTool({QStringLiteral("stop"), QStringLiteral("--mode=immediate"), QStringLiteral("--wait"),
                          QStringLiteral("--timeout=60"), QStringLiteral("--pgdata=") + dataDir_},
                         error);
}

bool TestPostgres::start(QString *error) const
{
    if (isRunning())
        return true;
    return runServerTool({QStringLiteral("start"), QStringLiteral("--wait"), QStringLiteral("--timeout=60"),
                          QStringLiteral("--pgdata=") + dataDir_, QStringLiteral("--log=") + logFile_},
                         error);
}

bool TestPostgres::freeze(QString *error) const
{
    const qint64 postmaster = postmasterPid();
    if (postmaster == 0) {
        setError(error, QStringLiteral("the server is not running"));
        return false;
    }
    // The postmaster first, so that it forks no new child meanwhile; then its children,
    // looked for again until none is left running.
    if (!sendSignal({postmaster}, Signal::Stop, error))
        return false;
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QList<qint64> running;
        for (qint64 pid : QList<qint64>{postmaster} + childrenOf(postmaster)) {
            const auto state = processState(pid);
            if (!ended(state) && state->state != QLatin1Char('T'))
                running << pid;
        }
        if (running.isEmpty())
            return true;
        sendSignal(running, Signal::Stop, nullptr);
        QThread::msleep(5);
    }
    setError(error, QStringLiteral("some server processes did not stop"));
    return false;
}

bool TestPostgres::thaw(QString *error) const
{
    const qint64 postmaster = postmasterPid();
    if (postmaster == 0)
        return true;
    return sendSignal(childrenOf(postmaster) << postmaster, Signal::Continue, error);
}

bool TestPostgres::restore(QString *error) const
{
    return thaw(error) && start(error);
}

QString TestPostgres::tool(const QString &name) const
{
    return binDir_ + QLatin1Char('/') + name;
}

bool TestPostgres::runServerTool(const QStringList &arguments, QString *error) const
{
    // The server refuses to run as root: as root, pg_ctl runs as the server's own user.
    QString program = tool(QStringLiteral("pg_ctl"));
    QStringList all = arguments;
    if (!runAs_.isEmpty()) {
        all = QStringList{QStringLiteral("--reuid=") + runAs_, QStringLiteral("--regid=") + runAsGroup_,
                          QStringLiteral("--clear-groups"), QStringLiteral("--"), program}
              + arguments;
        program = QStringLiteral("setpriv");
    }
    QProcess process;
    process.setWorkingDirectory(dir_);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, all);
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        setError(error, QStringLiteral("pg_ctl %1 did not finish").arg(arguments.first()));
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        setError(error, QStringLiteral("pg_ctl %1 failed: %2")
                            .arg(arguments.first(), QString::fromLocal8Bit(process.readAll()).trimmed()));
        return false;
    }
    return true;
}

bool TestPostgres::runPsql(const QStringList &arguments, const QByteArray &input, const QString &database,
                           QByteArray *output, QString *error) const
{
    if (!available()) {
        setError(error, skipReason_);
        return false;
    }
    // Only the settings given here: the test may have set PGPASSWORD, PGSSLMODE and the
    // like for its own connections.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &key : environment.keys()) {
        if (key.startsWith(QLatin1String("PG")))
            environment.remove(key);
    }
    environment.insert(QStringLiteral("PGPASSWORD"), adminPassword_);
    environment.insert(QStringLiteral("PGCLIENTENCODING"), QStringLiteral("UTF8"));
    environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));

    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(tool(QStringLiteral("psql")),
                  QStringList{QStringLiteral("--no-psqlrc"), QStringLiteral("--quiet"),
                              QStringLiteral("--set=ON_ERROR_STOP=1"), QStringLiteral("--host=") + socketDir_,
                              QStringLiteral("--port=%1").arg(port_), QStringLiteral("--username=") + adminUser_,
                              QStringLiteral("--dbname=") + database}
                      + arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        setError(error, QStringLiteral("psql did not finish (is the server frozen?)"));
        return false;
    }
    const QByteArray out = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        setError(error, QString::fromUtf8(process.readAllStandardError()).trimmed());
        return false;
    }
    if (output)
        *output = out;
    return true;
}
