// A player file holding any bytes, taken through what a game does with it: the absolute
// records loaded (placeholders where a value is 0), players found or added by name, a game's
// times, the improved records written back. Each step is checked against a byte-level model:
// an entry write changes its own 19 bytes and fills any gap before it with zeros.

#include "FuzzSupport.h"

#include "game/records/RecordBook.h"
#include "game/session/Statistics.h"
#include "platform/Windows1252.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

constexpr int kSize = PlayerEntry::kSize;

// The bytes a record write leaves, per the record file's rules.
void modelWrite(QByteArray &file, qint64 k, const QByteArray &record)
{
    const qsizetype offset = qsizetype(k - 1) * kSize;
    file.resize(std::max<qsizetype>(file.size(), offset + kSize), '\0');
    file.replace(offset, kSize, record);
}

QByteArray placeholder(const QByteArray &old, int keptAt, bool miniField)
{
    PlayerEntry r;
    r.setName(RecordBook::kPlaceholderName);
    r.Mini = miniField ? PlayerEntry::kUnset : fuzz::int16At(old, keptAt);
    r.Average = miniField ? fuzz::int16At(old, keptAt) : PlayerEntry::kUnset;
    return r.toBytes();
}

// Every whole record survives a decode and re-encode byte for byte, and reading a run of
// records in one go gives what reading them one by one gives.
void checkReading(PlayerFile &file, const QByteArray &bytes)
{
    const qint64 whole = bytes.size() / kSize;
    for (qint64 k = 1; k <= whole; ++k) {
        const QByteArray raw = fuzz::recordAt(bytes, k);
        FUZZ_CHECK(PlayerEntry::fromBytes(raw).toBytes() == raw);
    }
    const qint64 count = whole + 2; // two more, past the end, read as zeros
    const QList<PlayerEntry> run = file.read(1, count);
    FUZZ_CHECK(run.size() == count);
    for (qint64 k = 1; k <= count; ++k)
        FUZZ_CHECK(run[k - 1].toBytes() == fuzz::recordAt(bytes, k));
}

// The first record from 3 on whose name field reads `key`, or 0. A trailing fragment of
// more than half a record is a record of its own, its missing bytes read as zeros.
qint64 firstHolder(const QByteArray &bytes, const QString &key)
{
    const qint64 records = bytes.size() / kSize + (2 * (bytes.size() % kSize) > kSize ? 1 : 0);
    for (qint64 k = 3; k <= records; ++k) {
        if (Windows1252::decode(fuzz::recordAt(bytes, k).left(kNameLength)) == key)
            return k;
    }
    return 0;
}

// Checks one lookup against the file as it was; returns the record number.
RecordBook::Lookup lookUp(PlayerFile &file, const QString &path, const QString &name)
{
    const QByteArray before = fuzz::readWholeFile(path);
    const QString key = FitName(name);
    const qint64 expected = firstHolder(before, key);

    const RecordBook::Lookup found = RecordBook::findPlayer(file, name);
    const PlayerEntry &buffer = found.record;
    const QByteArray after = fuzz::readWholeFile(path);
    FUZZ_CHECK(found.written);
    FUZZ_CHECK(buffer.Name == key);
    if (expected != 0) {
        FUZZ_CHECK(!found.created);
        FUZZ_CHECK(found.recordNumber == expected);
        FUZZ_CHECK(after == before);
        FUZZ_CHECK(buffer.toBytes() == fuzz::recordAt(before, expected));
    } else {
        // Appended after the whole records; a trailing fragment of 10 bytes or more (more
        // than half a record) is kept as a record of its own, a shorter one is overwritten.
        const qint64 whole = before.size() / kSize;
        const qint64 fragment = before.size() % kSize;
        FUZZ_CHECK(found.created);
        FUZZ_CHECK(found.recordNumber == whole + 1 + (2 * fragment > kSize ? 1 : 0));
        FUZZ_CHECK(buffer.Mini == PlayerEntry::kUnset && buffer.Average == PlayerEntry::kUnset);
        QByteArray model = before;
        modelWrite(model, found.recordNumber, buffer.toBytes());
        FUZZ_CHECK(after == model);
        FUZZ_CHECK(after.size() % kSize == 0);
    }
    FUZZ_CHECK(found.recordNumber >= 3);
    FUZZ_CHECK(file.length() == after.size());

    // Asked again, the name is found without a write, in the record just found or made.
    const RecordBook::Lookup second = RecordBook::findPlayer(file, name);
    FUZZ_CHECK(!second.created && second.recordNumber == found.recordNumber);
    FUZZ_CHECK(second.record.toBytes() == buffer.toBytes());
    FUZZ_CHECK(fuzz::readWholeFile(path) == after);
    return found;
}

// The best item time and the average of one game of 20 items (their rounding is the typing
// tests' concern).
std::pair<qint64, qint64> playGame(fuzz::Input &in)
{
    qint64 total = 0, best = Statistics::kUnset;
    for (int item = 1; item <= Statistics::kItemsPerGame; ++item) {
        const qint64 raw = in.take<quint16>();
        const qint64 t = Statistics::itemTime(raw, in.take<quint8>());
        total += t;
        best = std::min(best, t);
    }
    return {best, Statistics::average(total, Statistics::kItemsPerGame)};
}

// Offers a time to record k: it is written, with the player's name, only when it beats
// what the record holds, and then only that record's bytes change.
void offer(PlayerFile &file, const QString &path, qint64 k, RecordBook::Field field, qint64 time,
           const QString &player)
{
    // The game offers only times below a record it has read, so they fit in 16 bits.
    if (time > std::numeric_limits<qint16>::max())
        return;
    QByteArray model = fuzz::readWholeFile(path);
    PlayerEntry expected = file.read(k);
    qint16 &value = field == RecordBook::Field::Mini ? expected.Mini : expected.Average;
    const bool beats = time < value;
    const RecordBook::Offer o = RecordBook::offer(file, k, field, qint16(time), player);
    FUZZ_CHECK(o.beaten == beats && o.written);
    if (beats) {
        value = qint16(time);
        expected.setName(player);
        modelWrite(model, k, expected.toBytes());
    }
    FUZZ_CHECK(o.record.toBytes() == expected.toBytes());
    FUZZ_CHECK(fuzz::readWholeFile(path) == model);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    const auto choice = in.take<quint16>();
    QByteArray nameBytes;
    for (int i = 0; i < 16; ++i)
        nameBytes.append(char(in.take<quint8>()));
    // The game's figures come off the end too; what is left is the file.
    std::vector<std::uint8_t> gameBytes;
    for (int i = 0; i < 3 * Statistics::kItemsPerGame && in.left() > 0; ++i)
        gameBytes.push_back(in.take<quint8>());
    const QByteArray original = in.takeRest();

    const QString path = fuzz::scratchFile(PlayerFile::fileNameFor(6));
    fuzz::writeWholeFile(path, original);
    PlayerFile file;
    FUZZ_CHECK(file.open(path));
    FUZZ_CHECK(file.length() == original.size());
    checkReading(file, original);

    // The absolute records: a 0 value (or a missing record) becomes the placeholder.
    const RecordBook::AbsRecords abs = RecordBook::loadAbsRecords(file);
    QByteArray model = original;
    const QByteArray first = fuzz::recordAt(original, 1);
    const QByteArray second = fuzz::recordAt(original, 2);
    if (fuzz::int16At(first, 15) == 0)
        modelWrite(model, 1, placeholder(first, 17, true));
    if (fuzz::int16At(second, 17) == 0)
        modelWrite(model, 2, placeholder(second, 15, false));
    FUZZ_CHECK(abs.written);
    FUZZ_CHECK(fuzz::readWholeFile(path) == model);
    FUZZ_CHECK(abs.mini == fuzz::int16At(fuzz::recordAt(model, 1), 15) && abs.mini != 0);
    FUZZ_CHECK(abs.average == fuzz::int16At(fuzz::recordAt(model, 2), 17) && abs.average != 0);
    FUZZ_CHECK(abs.miniName == Windows1252::decode(fuzz::recordAt(model, 1).left(kNameLength)));
    FUZZ_CHECK(abs.averageName == Windows1252::decode(fuzz::recordAt(model, 2).left(kNameLength)));

    // Names: one already in the file (when there is a player), the same with its trailing
    // spaces typed differently, as the game shows it (initial capital), and one made of
    // input bytes, likely new.
    std::vector<QString> names;
    const qint64 players = model.size() / kSize - 2;
    if (players > 0) {
        const QString stored = file.read(3 + choice % players).Name;
        QString bare = stored;
        while (bare.endsWith(QLatin1Char(' ')))
            bare.chop(1);
        names.push_back(stored);
        names.push_back(bare + QStringLiteral("    "));
        names.push_back(Windows1252::initialCapital(bare));
    }
    names.push_back(QString::fromUtf8(nameBytes));
    RecordBook::Lookup player;
    for (const QString &name : names)
        player = lookUp(file, path, name);

    // A game by the last player; its improved figures go to that player's record and to
    // the absolute records, as at the end of a game.
    fuzz::Input game(gameBytes.data(), gameBytes.size());
    const auto [best, average] = playGame(game);
    FUZZ_CHECK(file.read(player.recordNumber).toBytes() == player.record.toBytes());
    offer(file, path, 1, RecordBook::Field::Mini, best, names.back());
    offer(file, path, player.recordNumber, RecordBook::Field::Mini, best, names.back());
    offer(file, path, player.recordNumber, RecordBook::Field::Average, average, names.back());
    offer(file, path, 2, RecordBook::Field::Average, average, names.back());
    FUZZ_CHECK(file.length() % kSize == 0 || file.length() == original.size());
    return 0;
}
