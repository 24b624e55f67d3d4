#include "history/SqlGameRows.h"

#include "game/FinishedGame.h"

#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QVariant>

namespace {

QString isoUtc(const QDateTime &t)
{
    return t.toUTC().toString(Qt::ISODateWithMs);
}

// The server's text columns cannot hold U+0000, which no key types; a game holding one
// would otherwise never be accepted and stay waiting for ever.
QString storable(const QString &text)
{
    QString out = text;
    out.replace(QChar(u'\0'), QChar(0xFFFD));
    return out;
}

const QString kPlayersQuery = QStringLiteral("SELECT DISTINCT player FROM games");
const QString kGamesQuery = QStringLiteral(
    "SELECT id, finished_at, mini, average, wrong_keys FROM games WHERE player = ? AND mode = ?"
    " ORDER BY finished_at, id");
const QString kWrongQuery = QStringLiteral(
    "SELECT m.expected, COUNT(*) FROM games AS g JOIN mistakes AS m ON m.game_id = g.id"
    " WHERE g.player = ? AND g.mode = ? GROUP BY m.expected");
const QString kExpectedQuery = QStringLiteral(
    "SELECT e.character, SUM(e.count) FROM games AS g JOIN expected_chars AS e ON e.game_id = g.id"
    " WHERE g.player = ? AND g.mode = ? GROUP BY e.character");
const QString kItemLinesQuery = QStringLiteral(
    "SELECT g.id, g.mode, g.started_at, g.finished_at, g.mini, g.average, g.wrong_keys,"
    " i.position, i.shown, i.time_ms, i.raw_ms, i.wrong_keys"
    " FROM games AS g JOIN items AS i ON i.game_id = g.id WHERE g.player = ?"
    " ORDER BY g.mode, g.finished_at, g.id, i.position");

} // namespace

namespace SqlGameRows {

bool insert(const QSqlDatabase &db, const FinishedGame &game, const QString &uid, bool *inserted, QSqlError *error)
{
    *inserted = false;
    QSqlQuery games(db), items(db), mistakes(db), due(db);
    auto run = [error](QSqlQuery &q, const QVariantList &values) {
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (q.exec())
            return true;
        *error = q.lastError();
        return false;
    };
    // COALESCE: a null text becomes the empty text the NOT NULL columns accept. A game
    // already there (sent once, its acknowledgement lost) is not inserted again.
    if (!games.prepare(QStringLiteral("INSERT INTO games(uid, player, mode, started_at, finished_at, mini, average,"
                                      " wrong_keys) VALUES(?, COALESCE(?, ''), ?, ?, ?, ?, ?, ?)"
                                      " ON CONFLICT(uid) DO NOTHING RETURNING id"))
        || !items.prepare(QStringLiteral("INSERT INTO items(game_id, position, shown, time_ms, raw_ms, wrong_keys)"
                                         " VALUES(?, ?, COALESCE(?, ''), ?, ?, ?)"))
        || !mistakes.prepare(QStringLiteral("INSERT INTO mistakes(game_id, position, expected, typed)"
                                            " VALUES(?, ?, COALESCE(?, ''), COALESCE(?, ''))"))
        || !due.prepare(QStringLiteral("INSERT INTO expected_chars(game_id, character, count) VALUES(?, ?, ?)"))) {
        for (const QSqlQuery *q : {&games, &items, &mistakes, &due}) {
            if (q->lastError().isValid())
                *error = q->lastError();
        }
        return false;
    }
    if (!run(games, {uid, storable(game.player), game.mode, isoUtc(game.startedAt), isoUtc(game.finishedAt),
                     game.mini, game.average, game.wrongKeys()}))
        return false;
    if (!games.next())
        return true; // already there
    const qint64 id = games.value(0).toLongLong();
    games.finish();

    // How often each character was due in this game, for the error rates per key.
    QMap<QChar, qint64> dueCounts;
    for (int i = 0; i < game.items.size(); ++i) {
        const PlayedItem &item = game.items[i];
        const int position = i + 1;
        if (!run(items, {id, position, storable(item.shown), item.timeMs, item.rawMs, qint64(item.mistakes.size())}))
            return false;
        for (const Mistake &m : item.mistakes) {
            const QString expected = m.expected.isNull() ? QString() : QString(m.expected);
            if (!run(mistakes, {id, position, storable(expected), storable(QString(m.typed))}))
                return false;
        }
        for (QChar c : item.shown)
            ++dueCounts[c];
    }
    for (auto it = dueCounts.cbegin(); it != dueCounts.cend(); ++it) {
        if (!run(due, {id, storable(QString(it.key())), it.value()}))
            return false;
    }
    *inserted = true;
    return true;
}

QStringList readingQueries()
{
    return {kPlayersQuery, kGamesQuery, kWrongQuery, kExpectedQuery, kItemLinesQuery};
}

std::optional<QStringList> players(const Select &select)
{
    auto q = select(kPlayersQuery, {});
    if (!q)
        return std::nullopt;
    QStringList out;
    while (q->next())
        out << q->value(0).toString();
    return out;
}

std::optional<QList<GameSummary>> games(const Select &select, const QString &player, int mode)
{
    auto q = select(kGamesQuery, {player, mode});
    if (!q)
        return std::nullopt;
    QList<GameSummary> out;
    while (q->next()) {
        GameSummary g;
        g.id = q->value(0).toLongLong();
        g.finishedAt = QDateTime::fromString(q->value(1).toString(), Qt::ISODateWithMs);
        g.mini = q->value(2).toLongLong();
        g.average = q->value(3).toLongLong();
        g.wrongKeys = q->value(4).toLongLong();
        out << g;
    }
    return out;
}

std::optional<QList<CharacterCount>> characterCounts(const Select &select, const QString &player, int mode)
{
    QMap<QString, CharacterCount> byCharacter;
    for (const QString &sql : {kExpectedQuery, kWrongQuery}) {
        auto q = select(sql, {player, mode});
        if (!q)
            return std::nullopt;
        while (q->next()) {
            CharacterCount &c = byCharacter[q->value(0).toString()];
            c.character = q->value(0).toString();
            (sql == kExpectedQuery ? c.expected : c.wrong) = q->value(1).toLongLong();
        }
    }
    return byCharacter.values();
}

std::optional<QList<ItemLine>> itemLines(const Select &select, const QString &player)
{
    auto found = select(kItemLinesQuery, {player});
    if (!found)
        return std::nullopt;
    QSqlQuery &q = *found;
    QList<ItemLine> out;
    while (q.next()) {
        ItemLine line;
        line.gameId = q.value(0).toLongLong();
        line.player = player;
        line.mode = q.value(1).toInt();
        line.startedAt = q.value(2).toString();
        line.finishedAt = q.value(3).toString();
        line.mini = q.value(4).toLongLong();
        line.average = q.value(5).toLongLong();
        line.gameWrongKeys = q.value(6).toLongLong();
        line.position = q.value(7).toInt();
        line.shown = q.value(8).toString();
        line.timeMs = q.value(9).toLongLong();
        line.rawMs = q.value(10).toLongLong();
        line.wrongKeys = q.value(11).toLongLong();
        out << line;
    }
    return out;
}

} // namespace SqlGameRows
