#pragma once

#include <QString>

// Length of the name field of a player entry, in characters (one byte each on disk).
inline constexpr int kNameLength = 15;

// The name as the 15-character field holds it: first made storable in windows-1252
// ("?" for what the code page lacks), then cut after the 15th character or padded on the
// right with spaces.
QString FitName(const QString &text);

// The digits of n, preceded by one space when n >= 0 and by "-" when n < 0.
QString PaddedNumber(qint64 n);
