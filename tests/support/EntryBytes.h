#pragma once

#include <QByteArray>

// A player entry as the file holds it, built by hand: 15 name bytes padded with spaces,
// then Mini and Average as signed 16-bit little-endian integers.
inline QByteArray entryBytes(const QByteArray &name, qint16 mini, qint16 average)
{
    const char times[4] = {char(mini & 0xFF), char((mini >> 8) & 0xFF), char(average & 0xFF), char((average >> 8) & 0xFF)};
    return name.leftJustified(15, ' ', true) + QByteArray(times, 4);
}

// Records 1 and 2 of a new record file: the placeholders of the absolute Mini and Average.
inline const QByteArray kPlaceholders = entryBytes("xxxxx", 9999, 0) + entryBytes("xxxxx", 0, 9999);
