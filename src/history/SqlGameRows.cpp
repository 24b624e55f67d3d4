#include "history/SqlGameRows.h"

#include "game/session/FinishedGame.h"

#include <QHash>
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
// The class overview, in three statements whatever the number of players and games.
// The first gives each player's latest games, numbered from the latest down (n over all
// games, k over the ordinary ones), each with the player's counts over every game of the
// mode. Then the keys due in the latest ordinary games and the characters of the latest
// games, by their ids, so that the server's planner knows how few rows it joins.
// The counts group by COALESCE(player, ''), the same as the player (never null), so that
// SQLite reads the table straight through rather than row by row through games_by_player
// (three times faster over 100,000 games), and the server hashes the names.
const QString kClassCounts = QStringLiteral(
    "(SELECT COALESCE(player, '') AS p, SUM(CASE WHEN practice = 0 AND finished_at >= ? THEN 1 ELSE 0 END) AS week,"
    " SUM(CASE WHEN practice = 0 THEN 1 ELSE 0 END) AS ordinary, COUNT(*) AS total, MAX(finished_at) AS latest,"
    " MIN(CASE WHEN practice = 0 THEN average END) AS best FROM games WHERE mode = ? GROUP BY 1) AS c");
const QString kClassColumns = QStringLiteral(
    "SELECT r.id, c.p, r.average, r.wrong_keys, r.practice, r.n, r.k, c.week, c.ordinary, c.total, c.latest, c.best"
    " FROM ");
const QString kClassFilter = QStringLiteral(" WHERE r.n <= ? OR (r.practice = 0 AND r.k <= ?) ORDER BY c.p, r.n DESC");
const QString kRanks = QStringLiteral(
    "ROW_NUMBER() OVER w AS n, SUM(CASE WHEN practice = 0 THEN 1 ELSE 0 END) OVER w AS k");
// SQLite numbers every game of the mode in one sort.
const QString kClassLatestSqlite = kClassColumns + kClassCounts
    + QStringLiteral(" JOIN (SELECT id, COALESCE(player, '') AS p, average, wrong_keys, practice, %1"
                     " FROM games WHERE mode = ? WINDOW w AS (PARTITION BY COALESCE(player, '')"
                     " ORDER BY finished_at DESC, id DESC ROWS UNBOUNDED PRECEDING)) AS r ON r.p = c.p")
          .arg(kRanks)
    + kClassFilter;
// The server would sort every game by name through the database's collation, slowly: each
// player's latest games are read through games_by_player instead, the latest of all and
// the latest ordinary ones, and numbered among themselves, which gives each game among the
// latest its true rank.
const QString kClassLatestPostgres = kClassColumns + kClassCounts
    + QStringLiteral(" CROSS JOIN LATERAL (SELECT id, average, wrong_keys, practice, %1 FROM ("
                     "(SELECT id, finished_at, average, wrong_keys, practice FROM games WHERE player = c.p AND mode = ?"
                     " ORDER BY finished_at DESC, id DESC LIMIT ?)"
                     " UNION (SELECT id, finished_at, average, wrong_keys, practice FROM games WHERE player = c.p"
                     " AND mode = ? AND practice = 0 ORDER BY finished_at DESC, id DESC LIMIT ?)) AS u"
                     " WINDOW w AS (ORDER BY finished_at DESC, id DESC ROWS UNBOUNDED PRECEDING)) AS r")
          .arg(kRanks)
    + kClassFilter;
const QString kClassCharactersQuery = QStringLiteral(
    "SELECT g.player, e.character, SUM(e.count), 0 FROM games AS g JOIN expected_chars AS e ON e.game_id = g.id"
    " WHERE g.id IN (%1) GROUP BY g.player, e.character"
    " UNION ALL SELECT g.player, m.expected, 0, COUNT(*) FROM games AS g JOIN mistakes AS m ON m.game_id = g.id"
    " WHERE g.id IN (%1) GROUP BY g.player, m.expected");
const QString kClassDueQuery = QStringLiteral(
    "SELECT g.player, SUM(e.count) FROM games AS g JOIN expected_chars AS e ON e.game_id = g.id"
    " WHERE g.id IN (%1) GROUP BY g.player");

// A lesson's own figures; null for the other games.
QVariant lessonValue(const FinishedGame &game, int value)
{
    return game.isLesson() ? QVariant(value) : QVariant(QMetaType::fromType<int>());
}

// The player's lessons: their count and most keys, then the latest ones with their items
// and the characters due at each wrong key.
const QString kLessonCountQuery = QStringLiteral(
    "SELECT COUNT(*), COALESCE(MAX(lesson_keys), 0) FROM games WHERE player = ? AND mode = 0");
const QString kLatestLessons = QStringLiteral(
    "(SELECT id FROM games WHERE player = ? AND mode = 0 ORDER BY finished_at DESC, id DESC LIMIT ?)");
const QString kLessonItemsQuery = QStringLiteral(
    "SELECT g.id, g.lesson_keys, g.lesson_target_ms, i.position, i.shown, i.time_ms FROM games AS g"
    " JOIN items AS i ON i.game_id = g.id WHERE g.id IN %1 ORDER BY g.finished_at DESC, g.id DESC, i.position")
    .arg(kLatestLessons);
const QString kLessonMistakesQuery = QStringLiteral(
    "SELECT game_id, position, expected FROM mistakes WHERE game_id IN %1").arg(kLatestLessons);

// Ids read from the store, written into a statement as a list: numbers only, and no limit
// on the count of bound values.
QString idList(const QList<qint64> &ids)
{
    QStringList out;
    for (qint64 id : ids)
        out << QString::number(id);
    return out.isEmpty() ? QStringLiteral("NULL") : out.join(QLatin1Char(','));
}

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
                                      " wrong_keys, practice, lesson_keys, lesson_target_ms)"
                                      " VALUES(?, COALESCE(?, ''), ?, ?, ?, ?, ?, ?, ?, ?, ?)"
                                      " ON CONFLICT(uid) DO NOTHING RETURNING id"))) {
        *error = games.lastError();
        return false;
    }
    for (const QVariant &v : QVariantList{uid, storable(game.player), game.mode, isoUtc(game.startedAt),
                                          isoUtc(game.finishedAt), game.mini, game.average, game.wrongKeys(),
                                          game.practice ? 1 : 0, lessonValue(game, game.lessonKeys),
                                          lessonValue(game, game.lessonTargetMs)})
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

std::optional<LessonHistory> lessons(const Select &select, const QString &player, int lastGames)
{
    LessonHistory out;
    auto counts = select(kLessonCountQuery, {player});
    if (!counts)
        return std::nullopt;
    if (counts->next()) {
        out.count = counts->value(0).toLongLong();
        out.mostKeys = counts->value(1).toInt();
    }
    if (out.count == 0)
        return out;
    auto items = select(kLessonItemsQuery, {player, lastGames});
    if (!items)
        return std::nullopt;
    QHash<qint64, qsizetype> gameIndex;
    while (items->next()) {
        const qint64 id = items->value(0).toLongLong();
        if (!gameIndex.contains(id)) {
            gameIndex.insert(id, out.latest.size());
            out.latest << LessonGame{items->value(1).toInt(), items->value(2).toInt(), {}};
        }
        out.latest[gameIndex.value(id)].items << LessonItem{items->value(4).toString(), items->value(5).toLongLong(), {}};
    }
    auto mistakes = select(kLessonMistakesQuery, {player, lastGames});
    if (!mistakes)
        return std::nullopt;
    while (mistakes->next()) {
        const qsizetype game = gameIndex.value(mistakes->value(0).toLongLong(), -1);
        const int position = mistakes->value(1).toInt();
        // A row that names no item read (a file edited by hand) is passed over.
        if (game >= 0 && position >= 1 && position <= out.latest[game].items.size())
            out.latest[game].items[position - 1].missed += mistakes->value(2).toString().left(1);
    }
    return out;
}

std::optional<QList<PlayerFigures>> classFigures(const Select &select, Dialect dialect, int mode,
                                                 const QDateTime &weekStart, int recentGames, int characterGames)
{
    const QString week = isoUtc(weekStart);
    auto latest = dialect == Dialect::Postgres
        ? select(kClassLatestPostgres, {week, mode, mode, characterGames, mode, recentGames, characterGames, recentGames})
        : select(kClassLatestSqlite, {week, mode, mode, characterGames, recentGames});
    if (!latest)
        return std::nullopt;
    QMap<QString, PlayerFigures> byPlayer;
    QList<qint64> latestIds, ordinaryIds;
    while (latest->next()) {
        const auto value = [&latest](int i) { return latest->value(i).toLongLong(); };
        PlayerFigures &f = byPlayer[latest->value(1).toString()];
        f.player = latest->value(1).toString();
        f.gamesThisWeek = value(7);
        f.games = value(8);
        f.practiceGames = value(9) - value(8);
        f.lastPlayed = QDateTime::fromString(latest->value(10).toString(), Qt::ISODateWithMs);
        f.bestAverage = value(11);
        if (value(5) <= characterGames)
            latestIds << value(0);
        if (value(4) == 0 && value(6) <= recentGames) {
            ordinaryIds << value(0);
            f.recentAverages << value(2); // oldest first
            f.recentWrong += value(3);
        }
    }
    latest->finish();
    auto due = select(kClassDueQuery.arg(idList(ordinaryIds)), {});
    if (!due)
        return std::nullopt;
    while (due->next()) {
        const auto found = byPlayer.find(due->value(0).toString());
        if (found != byPlayer.end())
            found->recentDue = due->value(1).toLongLong();
    }
    due->finish();
    auto characters = select(kClassCharactersQuery.arg(idList(latestIds)), {});
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
