#pragma once

#include "game/progress/HistoryRows.h"

#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

class QSqlDatabase;
class QSqlError;
struct FinishedGame;

// The rows of a finished game and the reading queries, shared by the history file and the
// classroom's server: both hold the same tables, so a game is written and read the same
// way in either.
namespace SqlGameRows {

// Inserts the game with its unique id, inside the caller's transaction. A game whose id
// is already there is left as it is (it was sent before): `*inserted` tells which.
bool insert(const QSqlDatabase &db, const FinishedGame &game, const QString &uid, bool *inserted, QSqlError *error);

// Runs a reading query with its values bound in order; nothing when the store cannot answer.
using Select = std::function<std::optional<QSqlQuery>(const QString &sql, const QVariantList &values)>;

std::optional<QStringList> players(const Select &select);
std::optional<QList<GameSummary>> games(const Select &select, const QString &player, int mode);
std::optional<QList<CharacterCount>> characterCounts(const Select &select, const QString &player, int mode);
std::optional<QList<RecentCharacter>> recentCharacters(const Select &select, const QString &player, int mode,
                                                       int lastGames);
std::optional<QList<ItemLine>> itemLines(const Select &select, const QString &player);
std::optional<LessonHistory> lessons(const Select &select, const QString &player, int lastGames);
// The class overview's figures. The two stores read the players' latest games each their
// own way, the fastest for it.
enum class Dialect { Sqlite, Postgres };
std::optional<QList<PlayerFigures>> classFigures(const Select &select, Dialect dialect, int mode,
                                                 const QDateTime &weekStart, int recentGames, int characterGames);

} // namespace SqlGameRows
