#pragma once

#include "game/records/PlayerFile.h"

// Binding a mode and a player to the mode's record file. Every read-modify-write of the
// file happens under the file's lock, so that programs sharing the folder neither write
// over each other's records nor give two players one record number.
namespace RecordBook {

inline const QString kPlaceholderName = QStringLiteral("xxxxx");

struct AbsRecords
{
    qint16 mini = 0;
    qint16 average = 0;
    QString miniName;    // the holders' names, 15 characters as stored
    QString averageName;
    bool written = true; // false when a placeholder could not be written
};

// Reads records 1 and 2, replacing a record whose value is 0 (a new file, or a damaged
// record) by the placeholder "xxxxx" with 9999.
AbsRecords loadAbsRecords(PlayerFile &file);

struct Lookup
{
    qint64 recordNumber = 0;
    PlayerEntry record; // as found or as created
    bool created = false;
    bool written = true; // false when a new record could not be written
};

// Finds the first player entry from entry 3 on whose name equals FitName(name), or
// appends a new one with 9999 in both times.
Lookup findPlayer(PlayerFile &file, const QString &name);

// The same search, reading only: the record number (0 when the player has none) and the
// record found.
Lookup lookUpPlayer(const PlayerFile &file, const QString &name);

enum class Field { Mini, Average };

struct Offer
{
    bool beaten = false;
    PlayerEntry record; // record k as it is on disk afterwards
    bool written = true; // false when the beaten record could not be written
};

// Offers a time to record k: re-read from the file, it takes the time and the player's
// name only when the time is below what the file holds now (another program may have
// set a better one since this one last looked).
Offer offer(PlayerFile &file, qint64 k, Field field, qint16 time, const QString &player);

} // namespace RecordBook
