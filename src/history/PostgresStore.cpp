#include "history/PostgresStore.h"

#include "game/session/FinishedGame.h"
#include "history/ServerSchema.h"
#include "history/SqlGameRows.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

namespace {

QAtomicInt storeConnections;

const QString kDriver = QStringLiteral("QPSQL");

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
        status_ = checkSchema();
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
    case Status::Unprepared:
        problem_ = QStringLiteral("la base de données n'est pas prête pour cette version de Clavimo, "
                                  "l'administrateur doit lancer clavimo --preparer-serveur");
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

QSqlDatabase PostgresStore::database() const
{
    return QSqlDatabase::database(connection_, false);
}

namespace {

// The server refused a statement for want of a right: the computers' role has not been
// given it yet (an unprepared room), or never will (a statement the room does not allow).
bool lacksRight(const QSqlError &error)
{
    return error.nativeErrorCode() == QLatin1String("42501");
}

} // namespace

PostgresStore::Status PostgresStore::checkSchema()
{
    QSqlQuery q(database());
    const auto found = ServerSchema::inspect(q);
    if (!found)
        return fail(lacksRight(q.lastError()) ? Status::Unprepared : Status::Failed, q.lastError());
    return schemaStatus(int(found->state));
}

PostgresStore::Status PostgresStore::schemaStatus(int state)
{
    switch (ServerSchema::State(state)) {
    case ServerSchema::State::Current:
        return Status::Ready;
    case ServerSchema::State::Foreign:
        return fail(Status::Foreign, QSqlError());
    case ServerSchema::State::Newer:
        return fail(Status::Newer, QSqlError());
    case ServerSchema::State::Missing:
    case ServerSchema::State::Older:
        break;
    }
    return fail(Status::Unprepared, QSqlError());
}

bool PostgresStore::send(const QString &uid, const FinishedGame &game)
{
    if (open() != Status::Ready)
        return false;
    const QSqlDatabase db = database();
    QSqlQuery transaction(db);
    QSqlError error;
    bool inserted = false;
    if (transaction.exec(QStringLiteral("BEGIN"))) {
        // The version is read again in the game's transaction (one short query): a room
        // prepared anew for another version while this connection stayed open is not
        // written to.
        const bool read = transaction.exec(QStringLiteral("SELECT COALESCE(MAX(version), 0) FROM clavimo_schema"))
                          && transaction.next();
        const int version = read ? transaction.value(0).toInt() : 0;
        if (read && version != ServerSchema::kVersion) {
            transaction.exec(QStringLiteral("ROLLBACK"));
            refuse(schemaStatus(int(version > ServerSchema::kVersion ? ServerSchema::State::Newer
                                                                      : ServerSchema::State::Older)));
            return false;
        }
        if (read && SqlGameRows::insert(db, game, uid, &inserted, &error)
            && transaction.exec(QStringLiteral("COMMIT")))
            return true;
        if (!error.isValid())
            error = transaction.lastError();
        transaction.exec(QStringLiteral("ROLLBACK"));
    } else {
        error = transaction.lastError();
    }
    if (lacksRight(error)) {
        // Rights taken back from the computers' role: told as an unprepared room.
        refuse(fail(Status::Unprepared, error));
        return false;
    }
    dropConnection(error);
    return false;
}

void PostgresStore::refuse(Status status)
{
    close();
    status_ = status;
    retryAt_.setRemainingTime(kRetryDelayMs);
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

std::optional<LessonHistory> PostgresStore::lessons(const QString &player, int lastGames)
{
    return SqlGameRows::lessons(selector(), player, lastGames);
}

std::optional<QList<PlayerFigures>> PostgresStore::classFigures(int mode, const QDateTime &weekStart, int recentGames,
                                                                int characterGames)
{
    return SqlGameRows::classFigures(selector(), SqlGameRows::Dialect::Postgres, mode, weekStart, recentGames, characterGames);
}
