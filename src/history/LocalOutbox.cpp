#include "history/LocalOutbox.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QAtomicInt outboxConnections;

QDateTime fromIso(const QVariant &value)
{
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

QChar firstChar(const QVariant &value)
{
    const QString text = value.toString();
    return text.isEmpty() ? QChar() : text.at(0);
}

} // namespace

LocalOutbox::LocalOutbox(const QString &path)
    : path_(path)
    , connection_(QStringLiteral("clavimo-outbox-%1").arg(outboxConnections.fetchAndAddRelaxed(1)))
{
}

LocalOutbox::~LocalOutbox()
{
    close();
}

bool LocalOutbox::ensureOpen()
{
    if (open_)
        return true;
    // A missing file has no waiting game, and is not to be created from here.
    if (!QFileInfo(path_).isFile())
        return false;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    open_ = db.open();
    if (!open_)
        close();
    return open_;
}

void LocalOutbox::close()
{
    open_ = false;
    if (!QSqlDatabase::contains(connection_))
        return;
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

QList<qint64> LocalOutbox::waiting()
{
    QList<qint64> ids;
    if (!ensureOpen())
        return ids;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    // A file of an earlier version has no outbox yet, hence nothing waiting.
    if (!q.exec(QStringLiteral("SELECT game_id FROM outbox ORDER BY game_id"))) {
        close();
        return ids;
    }
    while (q.next())
        ids << q.value(0).toLongLong();
    return ids;
}

std::optional<WaitingGame> LocalOutbox::load(qint64 localId)
{
    if (!ensureOpen())
        return std::nullopt;
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    // One read transaction, so that the game is read whole.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("BEGIN")))
        return std::nullopt;
    auto done = [&q](std::optional<WaitingGame> result) {
        q.exec(QStringLiteral("COMMIT"));
        return result;
    };
    QSqlQuery games(db);
    games.setForwardOnly(true);
    games.prepare(QStringLiteral("SELECT uid, player, mode, started_at, finished_at, mini, average, practice, lesson_keys,"
                                 " lesson_target_ms FROM games"
                                 " WHERE id = ?"));
    games.addBindValue(localId);
    if (!games.exec() || !games.next())
        return done(std::nullopt);
    WaitingGame waiting;
    waiting.localId = localId;
    waiting.uid = games.value(0).toString();
    FinishedGame &game = waiting.game;
    game.player = games.value(1).toString();
    game.mode = games.value(2).toInt();
    game.startedAt = fromIso(games.value(3));
    game.finishedAt = fromIso(games.value(4));
    game.mini = games.value(5).toLongLong();
    game.average = games.value(6).toLongLong();
    game.practice = games.value(7).toLongLong() != 0;
    game.lessonKeys = games.value(8).toInt();
    game.lessonTargetMs = games.value(9).toInt();
    if (waiting.uid.isEmpty())
        return done(std::nullopt);

    QSqlQuery items(db);
    items.setForwardOnly(true);
    items.prepare(QStringLiteral("SELECT position, shown, raw_ms, time_ms FROM items WHERE game_id = ? ORDER BY position"));
    items.addBindValue(localId);
    if (!items.exec())
        return done(std::nullopt);
    while (items.next()) {
        if (items.value(0).toInt() != game.items.size() + 1)
            return done(std::nullopt); // a gap: the file was edited by hand
        game.items << PlayedItem{items.value(1).toString(), items.value(2).toLongLong(), items.value(3).toLongLong(), {}};
    }
    QSqlQuery mistakes(db);
    mistakes.setForwardOnly(true);
    mistakes.prepare(QStringLiteral("SELECT position, expected, typed FROM mistakes WHERE game_id = ? ORDER BY rowid"));
    mistakes.addBindValue(localId);
    if (!mistakes.exec())
        return done(std::nullopt);
    while (mistakes.next()) {
        const int position = mistakes.value(0).toInt();
        if (position < 1 || position > game.items.size())
            return done(std::nullopt);
        game.items[position - 1].mistakes << Mistake{firstChar(mistakes.value(1)), firstChar(mistakes.value(2))};
    }
    return done(waiting);
}

bool LocalOutbox::remove(qint64 localId)
{
    if (!ensureOpen())
        return false;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("DELETE FROM outbox WHERE game_id = ?"));
    q.addBindValue(localId);
    return q.exec();
}
