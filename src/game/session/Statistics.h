#pragma once

#include <QString>
#include <QtGlobal>

// The arithmetic of a game: item times with their error penalty, the running average,
// and the captions that show them.
namespace Statistics {

inline constexpr int kItemsPerGame = 20;
inline constexpr qint64 kUnset = 9999;

// The measured time plus a tenth of it per wrong key, rounded down; never below 1 ms.
qint64 itemTime(qint64 rawMs, qint64 errors);

// The average of the item times so far, rounded down.
qint64 average(qint64 total, qint64 count);

// Captions of the labels that show times.
QString gameMiniCaption(qint64 mini);          // "Mini    : " + PaddedNumber
QString gameAverageCaption(qint64 average);    // "Moyenne   : " + PaddedNumber
QString persoMiniCaption(qint64 mini);         // "Mini    : " + PaddedNumber
QString persoAverageCaption(qint64 average);   // "Moyenne : " + PaddedNumber
// The absolute records as shown when a mode is selected (name of 15 characters).
QString absMiniLoadedCaption(const QString &name15, qint64 mini);
QString absAverageLoadedCaption(const QString &name15, qint64 average);
// The absolute records as shown right after one has fallen.
QString absMiniBeatenCaption(const QString &name15, qint64 mini);
QString absAverageBeatenCaption(const QString &playerName, qint64 average);

} // namespace Statistics
