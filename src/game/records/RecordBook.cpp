#include "game/records/RecordBook.h"

#include "platform/FileLock.h"
#include "platform/Windows1252.h"

#include <cmath>
#include <cstring>

namespace RecordBook {

namespace {

// Records read at a time while looking for a player.
constexpr qint64 kScanBlock = 4096;

qint16 &valueOf(PlayerEntry &record, Field field)
{
    return field == Field::Mini ? record.Mini : record.Average;
}

} // namespace

AbsRecords loadAbsRecords(PlayerFile &file)
{
    const FileLock lock(file.entryFile());
    AbsRecords out;
    // Entry k holds one absolute record in its field; a zero there is replaced by the
    // placeholder, written back at once.
    const auto readRecord = [&](qint64 k, qint16 PlayerEntry::*field) {
        PlayerEntry entry = file.read(k);
        if (entry.*field == 0) {
            entry.*field = PlayerEntry::kUnset;
            entry.setName(kPlaceholderName);
            out.written = file.write(k, entry) && out.written;
        }
        return entry;
    };
    const PlayerEntry mini = readRecord(1, &PlayerEntry::Mini);
    out.mini = mini.Mini;
    out.miniName = mini.Name;
    const PlayerEntry average = readRecord(2, &PlayerEntry::Average);
    out.average = average.Average;
    out.averageName = average.Name;
    return out;
}

Lookup lookUpPlayer(const PlayerFile &file, const QString &name)
{
    Lookup out;
    const QString key = FitName(name);
    // Names are compared as the file holds them, 15 bytes each: every byte stands for one
    // character, so equal bytes are equal names, and no record needs decoding.
    const QByteArray keyBytes = Windows1252::encode(key);
    // The players are the records up to where a new one would go: the whole records and a
    // trailing fragment of more than half a record, which counts as a record of its own
    // (its missing bytes read as zeros). They are read a block at a time.
    const qint64 records = std::llround(file.entryCount() + 1) - 1;
    for (qint64 first = 3; first <= records; first += kScanBlock) {
        const qint64 count = std::min(kScanBlock, records - first + 1);
        const QByteArray block = file.entryFile().read(first, count);
        for (qint64 i = 0; i < count; ++i) {
            const char *record = block.constData() + i * PlayerEntry::kSize;
            if (std::memcmp(record, keyBytes.constData(), kNameLength) == 0) {
                out.recordNumber = first + i;
                out.record = PlayerEntry::fromBytes(QByteArray(record, PlayerEntry::kSize));
                return out;
            }
        }
    }
    return out;
}

Lookup findPlayer(PlayerFile &file, const QString &name)
{
    const FileLock lock(file.entryFile());
    Lookup out = lookUpPlayer(file, name);
    if (out.recordNumber > 0)
        return out;
    // The new record goes after the last whole record; a trailing fragment shorter than
    // half a record is overwritten, a longer one is kept as a record of its own.
    out.recordNumber = std::llround(file.entryCount() + 1);
    out.created = true;
    out.record.Name = FitName(name);
    out.record.Mini = PlayerEntry::kUnset;
    out.record.Average = PlayerEntry::kUnset;
    out.written = file.write(out.recordNumber, out.record);
    return out;
}

Offer offer(PlayerFile &file, qint64 k, Field field, qint16 time, const QString &player)
{
    const FileLock lock(file.entryFile());
    Offer out;
    out.record = file.read(k);
    if (!(time < valueOf(out.record, field)))
        return out;
    out.beaten = true;
    valueOf(out.record, field) = time;
    out.record.setName(player);
    out.written = file.write(k, out.record);
    return out;
}

} // namespace RecordBook
