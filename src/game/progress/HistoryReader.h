#pragma once

#include "game/progress/HistoryRows.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What the progression of a player is read from: the finished games kept so far. A history
// that cannot be read answers with empty lists.
class HistoryReader
{
public:
    virtual ~HistoryReader() = default;
    // The names of every player with a finished game, in either mode, unsorted.
    virtual QStringList players() = 0;
    // A player's games of one mode, oldest first.
    virtual QList<GameSummary> games(const QString &player, int mode) = 0;
    // Per character due: the times it was due and the wrong keys typed then.
    virtual QList<CharacterCount> characterCounts(const QString &player, int mode) = 0;
    // The same figures over the player's `lastGames` most recent games of the mode only,
    // practice games included, with the time of the one-character items.
    virtual QList<RecentCharacter> recentCharacters(const QString &player, int mode, int lastGames) = 0;
    // Every item of the player's games in both modes, by mode, then date, then position.
    virtual QList<ItemLine> itemLines(const QString &player) = 0;
    // Every player with a game of the mode, each with the figures of the class overview:
    // games counted since `weekStart`, the averages and wrong keys of the latest
    // `recentGames` ordinary games, the characters of the latest `characterGames` games.
    virtual QList<PlayerFigures> classFigures(int mode, const QDateTime &weekStart, int recentGames,
                                              int characterGames) = 0;
    // The player's lessons of the keyboard course, with the latest `lastGames` of them; none
    // from a history that keeps no lessons.
    virtual LessonHistory lessons(const QString &player, int lastGames)
    {
        Q_UNUSED(player);
        Q_UNUSED(lastGames);
        return {};
    }
};
