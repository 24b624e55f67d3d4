#include "game/RecordBook.h"

#include <cmath>

namespace RecordBook {

AbsRecords loadAbsRecords(PlayerFile &file)
{
    AbsRecords out;
    PlayerRecord buffer = file.read(1);
    if (buffer.Mini == 0) {
        buffer.Mini = PlayerRecord::kUnset;
        buffer.setName(kPlaceholderName);
        out.written = file.write(1, buffer) && out.written;
    }
    out.mini = buffer.Mini;
    out.miniName = buffer.Name;

    buffer = file.read(2);
    if (buffer.Average == 0) {
        buffer.Average = PlayerRecord::kUnset;
        buffer.setName(kPlaceholderName);
        out.written = file.write(2, buffer) && out.written;
    }
    out.average = buffer.Average;
    out.averageName = buffer.Name;
    return out;
}

Lookup lookUpPlayer(const PlayerFile &file, const QString &name)
{
    Lookup out;
    const QString key = FitName(name);
    const double last = file.recordCount();
    for (qint64 k = 3; double(k) <= last; ++k) {
        out.record = file.read(k);
        if (out.record.Name == key) {
            out.recordNumber = k;
            return out;
        }
    }
    out.record = PlayerRecord();
    return out;
}

Lookup findPlayer(PlayerFile &file, const QString &name)
{
    Lookup out = lookUpPlayer(file, name);
    if (out.recordNumber > 0)
        return out;
    const double last = file.recordCount();
    PlayerRecord &buffer = out.record;
    // The new record goes after the last whole record; a trailing fragment shorter than
    // half a record is overwritten, a longer one is kept as a record of its own.
    out.recordNumber = std::llround(last + 1);
    out.created = true;
    buffer = PlayerRecord();
    buffer.Name = FitName(name);
    buffer.Mini = PlayerRecord::kUnset;
    buffer.Average = PlayerRecord::kUnset;
    out.written = file.write(out.recordNumber, buffer);
    return out;
}

} // namespace RecordBook

