#include "history/PostgresStore.h"

#include "game/FinishedGame.h"
#include "history/SqlGameRows.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

namespace {

QAtomicInt storeConnections;

const QString kDriver = QStringLiteral("QPSQL");

// Any number, the same in every copy of the program: the lock that lets one computer at a
// time create or migrate the schema.
constexpr qint64 kSchemaLock = 0x436c6176696d6f; // "Clavimo"

// Each step brings the server's schema from version i to i + 1, in one transaction; a
// later version of the program appends its step and never changes the earlier ones.
const QList<QStringList> kMigrationSteps = {
    // 0 -> 1: the tables of the history file, with the unique id of each game.
    {
        QStringLiteral("CREATE TABLE games(id BIGSERIAL PRIMARY KEY, uid TEXT NOT NULL UNIQUE, player TEXT NOT NULL,"
                       " mode INTEGER NOT NULL, started_at TEXT NOT NULL, finished_at TEXT NOT NULL,"
                       " mini BIGINT NOT NULL, average BIGINT NOT NULL, wrong_keys BIGINT NOT NULL)"),
        QStringLiteral("CREATE TABLE items(game_id BIGINT NOT NULL REFERENCES games(id), position INTEGER NOT NULL,"
                       " shown TEXT NOT NULL, time_ms BIGINT NOT NULL, raw_ms BIGINT NOT NULL,"
                       " wrong_keys BIGINT NOT NULL, PRIMARY KEY(game_id, position))"),
        // id keeps the order the keys were typed in, as the file's row order does.
        QStringLiteral("CREATE TABLE mistakes(id BIGSERIAL PRIMARY KEY, game_id BIGINT NOT NULL REFERENCES games(id),"
                       " position INTEGER NOT NULL, expected TEXT NOT NULL, typed TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE expected_chars(game_id BIGINT NOT NULL REFERENCES games(id),"
                       " character TEXT NOT NULL, count BIGINT NOT NULL, PRIMARY KEY(game_id, character))"),
        QStringLiteral("CREATE INDEX games_by_player ON games(player, mode, finished_at)"),
        QStringLiteral("CREATE INDEX mistakes_by_game ON mistakes(game_id)"),
    },
    // 1 -> 2: targeted practice games are marked; every game kept before was an ordinary one.
    {
        QStringLiteral("ALTER TABLE games ADD COLUMN practice INTEGER NOT NULL DEFAULT 0"),
    },
};

bool contains(const QString &text, const char *part)
{
    return text.contains(QLatin1String(part), Qt::CaseInsensitive);
}

// The first line of the driver's message, for a technician reading the player's box.
QString firstLine(const QString &text)
{
    return text.trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
}

} // namespace

PostgresStore::PostgresStore(const ServerAddress &address)
    : address_(address)
    , connection_(QStringLiteral("clavimo-server-%1").arg(storeConnections.fetchAndAddRelaxed(1)))
{
}

PostgresStore::~PostgresStore()
{
    close();
}

void PostgresStore::close()
{
    open_ = false;
    if (!QSqlDatabase::contains(connection_))
        return;
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

PostgresStore::Status PostgresStore::open()
{
    if (open_)
        return Status::Ready;
    // A server that has just failed is not asked again at once.
    if (status_ != Status::Ready && !retryAt_.hasExpired())
        return status_;
    status_ = connect();
    if (status_ == Status::Ready)
        status_ = migrate();
    open_ = status_ == Status::Ready;
    if (!open_) {
        close();
        retryAt_.setRemainingTime(kRetryDelayMs);
    }
    return status_;
}

PostgresStore::Status PostgresStore::fail(Status status, const QSqlError &error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (status) {
    case Status::Unreachable:
        if (contains(text, "could not translate host name") || contains(text, "Name or service not known"))
            problem_ = QStringLiteral("nom d'hôte inconnu");
        else if (contains(text, "timeout"))
            problem_ = QStringLiteral("pas de réponse à temps");
        else if (contains(text, "Connection refused"))
            problem_ = QStringLiteral("connexion refusée");
        else if (!open_)
            problem_ = QStringLiteral("connexion impossible\u00A0: %1").arg(firstLine(text));
        else
            problem_ = QStringLiteral("connexion perdue");
        break;
    case Status::Refused:
        problem_ = QStringLiteral("utilisateur ou mot de passe refusé");
        break;
    case Status::Foreign:
        problem_ = QStringLiteral("la base de données contient les tables d'un autre programme");
        break;
    case Status::Newer:
        problem_ = QStringLiteral("la base de données a été préparée par une version plus récente de Clavimo");
        break;
    case Status::Failed:
    case Status::Ready:
        problem_ = QStringLiteral("erreur du serveur\u00A0: %1").arg(firstLine(text));
        break;
    }
    return status;
}

PostgresStore::Status PostgresStore::connect()
{
    close();
    if (!QSqlDatabase::isDriverAvailable(kDriver)) {
        problem_ = QStringLiteral("le module PostgreSQL de Qt est absent");
        return Status::Failed;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, connection_);
    db.setHostName(address_.host);
    db.setPort(address_.port);
    db.setUserName(address_.user);
    db.setDatabaseName(address_.database);
    // No password is set here: the client library reads ~/.pgpass or PGPASSWORD itself.
    db.setConnectOptions(address_.connectOptions(kConnectTimeoutSeconds));
    if (!db.open()) {
        const QString text = db.lastError().databaseText() + db.lastError().driverText();
        if (contains(text, "password authentication failed") || contains(text, "no password supplied")
            || contains(text, "authentication failed") || contains(text, "role \"")
            || contains(text, "pg_hba.conf"))
            return fail(Status::Refused, db.lastError());
        if (contains(text, "database \"") && contains(text, "does not exist")) {
            problem_ = QStringLiteral("la base de données «\u00A0%1\u00A0» n'existe pas").arg(address_.database);
            return Status::Failed;
        }
        return fail(Status::Unreachable, db.lastError());
    }
    QSqlQuery q(db);
    // A game leaves this computer's outbox once its transaction has returned, so the
    // commit must be on the server's disk by then, whatever the server's own default.
    for (const QString &setting : {QStringLiteral("SET statement_timeout = %1").arg(kStatementTimeoutMs),
                                   QStringLiteral("SET synchronous_commit = on")}) {
        if (!q.exec(setting))
            return fail(Status::Unreachable, q.lastError());
    }
    return Status::Ready;
}

PostgresStore::Status PostgresStore::migrate()
{
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    // One step at a time, each in its own transaction, under a lock that makes a second
    // computer starting at the same moment wait and then find the schema made.
    for (;;) {
        auto failed = [&q, this](Status status) {
            const QSqlError e = q.lastError();
            q.exec(QStringLiteral("ROLLBACK"));
            return fail(status, e);
        };
        if (!q.exec(QStringLiteral("BEGIN")))
            return fail(Status::Unreachable, q.lastError());
        if (!q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kSchemaLock)))
            return failed(Status::Unreachable);
        if (!q.exec(QStringLiteral("SELECT to_regclass('clavimo_schema') IS NOT NULL,"
                                   " (SELECT count(*) FROM pg_catalog.pg_tables WHERE schemaname = current_schema())"))
            || !q.next())
            return failed(Status::Failed);
        const bool versioned = q.value(0).toBool();
        const qint64 tables = q.value(1).toLongLong();
        int version = 0;
        if (versioned) {
            if (!q.exec(QStringLiteral("SELECT COALESCE(MAX(version), 0) FROM clavimo_schema")) || !q.next())
                return failed(Status::Failed);
            version = q.value(0).toInt();
        } else if (tables > 0) {
            // Tables without the version table belong to some other program: nothing is
            // written there.
            q.exec(QStringLiteral("ROLLBACK"));
            return fail(Status::Foreign, QSqlError());
        }
        if (version > kSchemaVersion) {
            q.exec(QStringLiteral("ROLLBACK"));
            return fail(Status::Newer, QSqlError());
        }
        if (version == kSchemaVersion) {
            if (!q.exec(QStringLiteral("COMMIT")))
                return failed(Status::Unreachable);
            return Status::Ready;
        }
        if (!versioned && !q.exec(QStringLiteral("CREATE TABLE clavimo_schema(version INTEGER NOT NULL)")))
            return failed(Status::Failed);
        for (const QString &statement : kMigrationSteps[version]) {
            if (!q.exec(statement))
                return failed(Status::Failed);
        }
        if (!q.exec(QStringLiteral("DELETE FROM clavimo_schema"))
            || !q.exec(QStringLiteral("INSERT INTO clavimo_schema(version) VALUES(%1)").arg(version + 1))
            || !q.exec(QStringLiteral("COMMIT")))
            return failed(Status::Failed);
    }
}

bool PostgresStore::send(const QString &uid, const FinishedGame &game)
{
    if (open() != Status::Ready)
        return false;
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery transaction(db);
    QSqlError error;
    bool inserted = false;
    if (transaction.exec(QStringLiteral("BEGIN"))) {
        if (SqlGameRows::insert(db, game, uid, &inserted, &error) && transaction.exec(QStringLiteral("COMMIT")))
            return true;
        if (!error.isValid())
            error = transaction.lastError();
        transaction.exec(QStringLiteral("ROLLBACK"));
    } else {
        error = transaction.lastError();
    }
    dropConnection(error);
    return false;
}

void PostgresStore::dropConnection(const QSqlError &error)
{
    // The connection may be gone with the server: the next call makes a new one at once.
    fail(Status::Unreachable, error);
    close();
    status_ = Status::Unreachable;
    retryAt_.setRemainingTime(0);
}

std::optional<QSqlQuery> PostgresStore::select(const QString &sql, const QVariantList &values)
{
    if (open() != Status::Ready)
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    if (q.prepare(sql)) {
        for (const QVariant &value : values)
            q.addBindValue(value);
        if (q.exec())
            return q;
    }
    dropConnection(q.lastError());
    return std::nullopt;
}

SqlGameRows::Select PostgresStore::selector()
{
    return [this](const QString &sql, const QVariantList &values) { return select(sql, values); };
}

std::optional<QStringList> PostgresStore::players()
{
    return SqlGameRows::players(selector());
}

std::optional<QList<GameSummary>> PostgresStore::games(const QString &player, int mode)
{
    return SqlGameRows::games(selector(), player, mode);
}

std::optional<QList<CharacterCount>> PostgresStore::characterCounts(const QString &player, int mode)
{
    return SqlGameRows::characterCounts(selector(), player, mode);
}

std::optional<QList<RecentCharacter>> PostgresStore::recentCharacters(const QString &player, int mode, int lastGames)
{
    return SqlGameRows::recentCharacters(selector(), player, mode, lastGames);
}

std::optional<QList<ItemLine>> PostgresStore::itemLines(const QString &player)
{
    return SqlGameRows::itemLines(selector(), player);
}
