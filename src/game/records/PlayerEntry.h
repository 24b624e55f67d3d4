#pragma once

#include "platform/RecordText.h"

#include <QByteArray>
#include <QString>

// One 19-byte entry of a player file: a 15-byte windows-1252 name padded with spaces,
// then the best item time and the best game average as signed 16-bit little-endian
// integers. Entries 1 and 2 hold the absolute records, players start at entry 3.
struct PlayerEntry
{
    static constexpr int kSize = 19;
    static constexpr qint16 kUnset = 9999;

    QString Name = QString(kNameLength, QLatin1Char(' '));
    qint16 Mini = 0;
    qint16 Average = 0;

    // Stores a text into Name the way the field holds it (FitName).
    void setName(const QString &text) { Name = FitName(text); }

    QByteArray toBytes() const;
    static PlayerEntry fromBytes(const QByteArray &bytes);
};
