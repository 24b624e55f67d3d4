#pragma once

#include <QByteArray>

// A player record as the file holds it, built by hand: 15 name bytes padded with spaces,
// then Mini and Average as signed 16-bit little-endian integers.
inline QByteArray recordBytes(const QByteArray &name, qint16 mini, qint16 average)
{
    QByteArray out = name.leftJustified(15, ' ', true);
    out.append(char(mini & 0xFF)).append(char((mini >> 8) & 0xFF));
    out.append(char(average & 0xFF)).append(char((average >> 8) & 0xFF));
    return out;
}

// Records 1 and 2 of a new record file: the placeholders of the absolute Mini and Average.
inline const QByteArray kPlaceholders = recordBytes("xxxxx", 9999, 0) + recordBytes("xxxxx", 0, 9999);
