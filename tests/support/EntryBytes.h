#pragma once

#include <QByteArray>

#include <random>

// A player entry as the file holds it, built by hand: 15 name bytes padded with spaces,
// then Mini and Average as signed 16-bit little-endian integers.
inline QByteArray entryBytes(const QByteArray &name, qint16 mini, qint16 average)
{
    const char times[4] = {char(mini & 0xFF), char((mini >> 8) & 0xFF), char(average & 0xFF), char((average >> 8) & 0xFF)};
    return name.leftJustified(15, ' ', true) + QByteArray(times, 4);
}

// Records 1 and 2 of a new record file: the placeholders of the absolute Mini and Average.
inline const QByteArray kPlaceholders = entryBytes("xxxxx", 9999, 0) + entryBytes("xxxxx", 0, 9999);

// The record file of a large class: the placeholders, then `players` players with names of
// varied length and first letters, some with accents, and times between 150 and 1200 ms,
// the same ones each time.
inline QByteArray classFile(int players)
{
    static const char *const first[] = {"Anne", "L\xE9o", "Chlo\xE9", "Hugo", "Zo\xE9", "Nathan", "In\xE8s", "Paul",
                                        "\xC9milie", "Jade", "Rapha\xEBl", "Manon", "Gabriel", "Lou", "No\xE9", "Ma\xEBlys"};
    std::mt19937 random(42);
    QByteArray out = kPlaceholders;
    out.reserve(out.size() + qsizetype(players) * 19);
    for (int i = 0; i < players; ++i) {
        const QByteArray name = QByteArray(first[random() % 16]) + QByteArray::number(i);
        out += entryBytes(name, qint16(150 + random() % 900), qint16(300 + random() % 900));
    }
    return out;
}
