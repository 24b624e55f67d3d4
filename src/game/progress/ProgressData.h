#pragma once

#include "game/progress/HistoryRows.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class HistoryReader;

// What the progression window shows for one player in one mode, read from the history and,
// for the personal records, from the mode's record file (read only, never created).
struct ProgressData
{
    QString player;
    int mode = 1;
    QList<GameSummary> games; // oldest first
    QList<CharacterCount> characters;
    // The player's personal records of the mode; none while unset or when the player has
    // no record in the file.
    std::optional<qint64> recordMini;
    std::optional<qint64> recordAverage;

    bool isEmpty() const { return games.isEmpty(); }
};

ProgressData loadProgress(HistoryReader &history, const QString &player, int mode);

// The personal records of `player` in the record file at `path`, read only.
void readPersonalRecords(const QString &path, const QString &player, ProgressData *data);

// The players offered: those of the history in French alphabetical order, with the
// current player (when named) among them even before a first game.
QStringList progressPlayers(const QStringList &historyPlayers, const QString &current);
// The player chosen when the window opens: the current one when named, else the first.
QString defaultPlayer(const QStringList &players, const QString &current);

// The last `count` games, the most recent first.
QList<GameSummary> lastGames(const ProgressData &data, int count);
