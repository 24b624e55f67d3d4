#pragma once

#include "game/records/PlayerEntry.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// The column header shown above the list of players.
QString recordsHeader();

// One line of the list: rank, name as stored, best item time, best game average, in
// fixed-width columns. Ranks from 100 on keep all their digits.
QString recordLine(int rank, const PlayerEntry &record);

// The order in which the exchange sort of the records list leaves the averages: for
// i = 0..n-2, for j = i+1..n-1, swap entries i and j when value j < value i. Returns the
// indices of the input in their final order. Runs in O(n log n) whatever the ties.
std::vector<int> exchangeSortOrder(const std::vector<qint16> &values);

// The players ranked by best game average, equal averages in exchange-sort order.
QList<PlayerEntry> rankByAverage(const QList<PlayerEntry> &players);

// The lines of the whole list, rank 1 first.
QStringList recordLines(const QList<PlayerEntry> &players);
