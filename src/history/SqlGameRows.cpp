#include "history/SqlGameRows.h"

#include "game/session/FinishedGame.h"

#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QVariant>

#include <algorithm>

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
    "SELECT id, finished_at, mini, average, wrong_keys, practice FROM games WHERE player = ? AND mode = ?"
    " ORDER BY finished_at, id");
const QString kWrongQuery = QStringLiteral(
    "SELECT m.expected, COUNT(*) FROM games AS g JOIN mistakes AS m ON m.game_id = g.id"
    " WHERE g.player = ? AND g.mode = ? GROUP BY m.expected");
const QString kExpectedQuery = QStringLiteral(
    "SELECT e.character, SUM(e.count) FROM games AS g JOIN expected_chars AS e ON e.game_id = g.id"
    " WHERE g.player = ? AND g.mode = ? GROUP BY e.character");
// The player's latest games of one mode, through games_by_player, for targeted practice.
const QString kRecentGames = QStringLiteral(
    "(SELECT id FROM games WHERE player = ? AND mode = ? ORDER BY finished_at DESC, id DESC LIMIT ?)");
const QString kRecentExpectedQuery = QStringLiteral(
    "SELECT character, SUM(count) FROM expected_chars WHERE game_id IN %1 GROUP BY character").arg(kRecentGames);
const QString kRecentWrongQuery = QStringLiteral(
    "SELECT expected, COUNT(*) FROM mistakes WHERE game_id IN %1 GROUP BY expected").arg(kRecentGames);
const QString kRecentTimesQuery = QStringLiteral(
    "SELECT shown, COUNT(*), SUM(raw_ms) FROM items WHERE game_id IN %1 AND length(shown) = 1 GROUP BY shown")
    .arg(kRecentGames);
const QString kItemLinesQuery = QStringLiteral(
    "SELECT g.id, g.mode, g.started_at, g.finished_at, g.mini, g.average, g.wrong_keys,"
    " i.position, i.shown, i.time_ms, i.raw_ms, i.wrong_keys"
    " FROM games AS g JOIN items AS i ON i.game_id = g.id WHERE g.player = ?"
    " ORDER BY g.mode, g.finished_at, g.id, i.position");
// The class overview, in three statements whatever the number of players and games: the
// counts per player, then each player's latest games and their characters, numbered per
// player by a window function from the latest down. Unlike the queries above, these read
// every game of the mode once (a count over all of them is what they give), and only the
// latest games' rows.
const QString kClassCountsQuery = QStringLiteral(
    "SELECT player, SUM(CASE WHEN practice = 0 AND finished_at >= ? THEN 1 ELSE 0 END),"
    " SUM(CASE WHEN practice = 0 THEN 1 ELSE 0 END), SUM(CASE WHEN practice = 0 THEN 0 ELSE 1 END),"
    " MAX(finished_at), MIN(CASE WHEN practice = 0 THEN average END)"
    " FROM games WHERE mode = ? GROUP BY player");
const QString kClassRecentQuery = QStringLiteral(
    "SELECT r.player, r.average, r.wrong_keys, (SELECT SUM(e.count) FROM expected_chars AS e WHERE e.game_id = r.id)"
    " FROM (SELECT id, player, average, wrong_keys,"
    " ROW_NUMBER() OVER (PARTITION BY player ORDER BY finished_at DESC, id DESC) AS n"
    " FROM games WHERE mode = ? AND practice = 0) AS r"
    " WHERE r.n <= ? ORDER BY r.player, r.n DESC");
const QString kClassCharactersQuery = QStringLiteral(
    "WITH recent AS (SELECT id, player FROM (SELECT id, player,"
    " ROW_NUMBER() OVER (PARTITION BY player ORDER BY finished_at DESC, id DESC) AS n"
    " FROM games WHERE mode = ?) AS r WHERE r.n <= ?)"
    " SELECT r.player, e.character, SUM(e.count), 0 FROM recent AS r JOIN expected_chars AS e ON e.game_id = r.id"
    " GROUP BY r.player, e.character"
    " UNION ALL SELECT r.player, m.expected, 0, COUNT(*) FROM recent AS r JOIN mistakes AS m ON m.game_id = r.id"
    " GROUP BY r.player, m.expected");

// Inserts the rows in the order given, as few statements as the limits on bound values
// allow (a game with a great many wrong keys takes several).
bool insertRows(const QSqlDatabase &db, const QString &table, const QString &placeholders,
                const QList<QVariantList> &rows, QSqlError *error)
{
    constexpr qsizetype kRowsPerStatement = 500;
    for (qsizetype first = 0; first < rows.size(); first += kRowsPerStatement) {
        const qsizetype count = std::min(kRowsPerStatement, rows.size() - first);
        QStringList tuples(count, placeholders);
        QSqlQuery q(db);
        if (!q.prepare(QStringLiteral("INSERT INTO %1 VALUES %2").arg(table, tuples.join(QLatin1Char(','))))) {
            *error = q.lastError();
            return false;
        }
        for (qsizetype i = first; i < first + count; ++i) {
            for (const QVariant &v : rows[i])
                q.addBindValue(v);
        }
        if (!q.exec()) {
            *error = q.lastError();
            return false;
        }
    }
    return true;
}

} // namespace

namespace SqlGameRows {

bool insert(const QSqlDatabase &db, const FinishedGame &game, const QString &uid, bool *inserted, QSqlError *error)
{
    *inserted = false;
    // COALESCE: a null text becomes the empty text the NOT NULL columns accept. A game
    // already there (sent once, its acknowledgement lost) is not inserted again.
    QSqlQuery games(db);
    if (!games.prepare(QStringLiteral("INSERT INTO games(uid, player, mode, started_at, finished_at, mini, average,"
                                      " wrong_keys, practice) VALUES(?, COALESCE(?, ''), ?, ?, ?, ?, ?, ?, ?)"
                                      " ON CONFLICT(uid) DO NOTHING RETURNING id"))) {
        *error = games.lastError();
        return false;
    }
    for (const QVariant &v : QVariantList{uid, storable(game.player), game.mode, isoUtc(game.startedAt),
                                          isoUtc(game.finishedAt), game.mini, game.average, game.wrongKeys(),
                                          game.practice ? 1 : 0})
        games.addBindValue(v);
    if (!games.exec()) {
        *error = games.lastError();
        return false;
    }
    if (!games.next())
        return true; // already there
    const qint64 id = games.value(0).toLongLong();
    games.finish();

    QList<QVariantList> items, mistakes, due;
    // How often each character was due in this game, for the error rates per key.
    QMap<QChar, qint64> dueCounts;
    for (int i = 0; i < game.items.size(); ++i) {
        const PlayedItem &item = game.items[i];
        const int position = i + 1;
        items << QVariantList{id, position, storable(item.shown), item.timeMs, item.rawMs, qint64(item.mistakes.size())};
        for (const Mistake &m : item.mistakes) {
            const QString expected = m.expected.isNull() ? QString() : QString(m.expected);
            mistakes << QVariantList{id, position, storable(expected), storable(QString(m.typed))};
        }
        for (QChar c : item.shown)
            ++dueCounts[c];
    }
    for (auto it = dueCounts.cbegin(); it != dueCounts.cend(); ++it)
        due << QVariantList{id, storable(QString(it.key())), it.value()};
    // One statement per table, so that a game costs a few round trips to a server.
    if (!insertRows(db, QStringLiteral("items(game_id, position, shown, time_ms, raw_ms, wrong_keys)"),
                    QStringLiteral("(?, ?, COALESCE(?, ''), ?, ?, ?)"), items, error)
        || !insertRows(db, QStringLiteral("mistakes(game_id, position, expected, typed)"),
                       QStringLiteral("(?, ?, COALESCE(?, ''), COALESCE(?, ''))"), mistakes, error)
        || !insertRows(db, QStringLiteral("expected_chars(game_id, character, count)"), QStringLiteral("(?, ?, ?)"),
                       due, error))
        return false;
    *inserted = true;
    return true;
}

QStringList readingQueries()
{
    return {kPlayersQuery,        kGamesQuery,       kWrongQuery,       kExpectedQuery,
            kRecentExpectedQuery, kRecentWrongQuery, kRecentTimesQuery, kItemLinesQuery};
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
        g.practice = q->value(5).toLongLong() != 0;
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

std::optional<QList<RecentCharacter>> recentCharacters(const Select &select, const QString &player, int mode,
                                                       int lastGames)
{
    QMap<QString, RecentCharacter> byCharacter;
    for (const QString &sql : {kRecentExpectedQuery, kRecentWrongQuery, kRecentTimesQuery}) {
        auto q = select(sql, {player, mode, lastGames});
        if (!q)
            return std::nullopt;
        while (q->next()) {
            RecentCharacter &c = byCharacter[q->value(0).toString()];
            c.character = q->value(0).toString();
            if (sql == kRecentExpectedQuery) {
                c.expected = q->value(1).toLongLong();
            } else if (sql == kRecentWrongQuery) {
                c.wrong = q->value(1).toLongLong();
            } else {
                c.items = q->value(1).toLongLong();
                c.itemMs = q->value(2).toLongLong();
            }
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

std::optional<QList<PlayerFigures>> classFigures(const Select &select, int mode, const QDateTime &weekStart,
                                                 int recentGames, int characterGames)
{
    auto counts = select(kClassCountsQuery, {isoUtc(weekStart), mode});
    if (!counts)
        return std::nullopt;
    QMap<QString, PlayerFigures> byPlayer;
    while (counts->next()) {
        PlayerFigures &f = byPlayer[counts->value(0).toString()];
        f.player = counts->value(0).toString();
        f.gamesThisWeek = counts->value(1).toLongLong();
        f.games = counts->value(2).toLongLong();
        f.practiceGames = counts->value(3).toLongLong();
        f.lastPlayed = QDateTime::fromString(counts->value(4).toString(), Qt::ISODateWithMs);
        f.bestAverage = counts->value(5).toLongLong();
    }
    counts->finish();
    auto recent = select(kClassRecentQuery, {mode, recentGames});
    if (!recent)
        return std::nullopt;
    while (recent->next()) {
        const auto found = byPlayer.find(recent->value(0).toString());
        if (found == byPlayer.end())
            continue; // a game finished between the two statements
        found->recentAverages << recent->value(1).toLongLong();
        found->recentWrong += recent->value(2).toLongLong();
        found->recentDue += recent->value(3).toLongLong();
    }
    recent->finish();
    auto characters = select(kClassCharactersQuery, {mode, characterGames});
    if (!characters)
        return std::nullopt;
    QMap<QString, QMap<QString, RecentCharacter>> byCharacter;
    while (characters->next()) {
        RecentCharacter &c = byCharacter[characters->value(0).toString()][characters->value(1).toString()];
        c.character = characters->value(1).toString();
        c.expected += characters->value(2).toLongLong();
        c.wrong += characters->value(3).toLongLong();
    }
    for (auto it = byPlayer.begin(); it != byPlayer.end(); ++it)
        it->characters = byCharacter.value(it.key()).values();
    return byPlayer.values();
}

} // namespace SqlGameRows
