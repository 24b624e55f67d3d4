// The records list built from any player file: players ranked by best game average in the
// order the exchange sort leaves them, compared with that sort run literally, and one
// well-formed line per player.

#include "FuzzSupport.h"

#include "game/PlayerFile.h"
#include "game/RecordsList.h"
#include "support/ExchangeSort.h"

#include <vector>

namespace {

void checkOrder(const std::vector<qint16> &values)
{
    const std::vector<int> fast = exchangeSortOrder(values);
    if (values.size() <= 400) {
        FUZZ_CHECK(fast == literalExchangeSort(values));
        return;
    }
    // Too long for the reference: at least a permutation in ascending order.
    std::vector<bool> seen(values.size(), false);
    FUZZ_CHECK(fast.size() == values.size());
    for (std::size_t i = 0; i < fast.size(); ++i) {
        FUZZ_CHECK(fast[i] >= 0 && std::size_t(fast[i]) < values.size() && !seen[std::size_t(fast[i])]);
        seen[std::size_t(fast[i])] = true;
        if (i > 0)
            FUZZ_CHECK(values[std::size_t(fast[i - 1])] <= values[std::size_t(fast[i])]);
    }
}

// Rank, name as stored, Mini and Average, in fixed-width columns.
void checkLine(const QString &line, int rank, const PlayerRecord &record)
{
    const QString rankText = QString::number(rank);
    FUZZ_CHECK(line.startsWith(QLatin1Char(' ') + rankText));
    const qsizetype nameStart = std::max<qsizetype>(3, 1 + rankText.size()) + 2;
    FUZZ_CHECK(line.mid(nameStart - 2, 2) == QStringLiteral("  "));
    FUZZ_CHECK(line.mid(nameStart, kNameLength) == record.Name.left(kNameLength).leftJustified(kNameLength));
    const qsizetype miniStart = nameStart + kNameLength + 1;
    FUZZ_CHECK(line[miniStart - 1] == QLatin1Char(' '));
    const QString mini = QString::number(record.Mini);
    FUZZ_CHECK(line.mid(miniStart, mini.size()) == mini);
    const qsizetype averageStart = std::max(miniStart + 5, miniStart + mini.size());
    for (qsizetype i = miniStart + mini.size(); i < averageStart; ++i)
        FUZZ_CHECK(line[i] == QLatin1Char(' '));
    FUZZ_CHECK(line.mid(averageStart) == QString::number(record.Average));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = fuzz::scratchFile(PlayerFile::fileNameFor(1));
    fuzz::writeWholeFile(path, bytes);
    PlayerFile file;
    FUZZ_CHECK(file.open(path));
    const qint64 players = qint64(file.playerCount());
    const QList<PlayerRecord> list = players > 0 ? file.read(3, players) : QList<PlayerRecord>();
    FUZZ_CHECK(list.size() == std::max<qint64>(players, 0));

    std::vector<qint16> averages;
    for (const PlayerRecord &p : list)
        averages.push_back(p.Average);
    checkOrder(averages);

    // Random averages rarely tie, and ties are where the fast sort needs care: the same
    // players again with their averages folded onto a few values.
    const int fold = size > 0 ? data[0] % 7 + 2 : 2;
    std::vector<qint16> folded;
    for (qint16 v : averages)
        folded.push_back(qint16(v % fold));
    checkOrder(folded);

    const QList<PlayerRecord> ranked = rankByAverage(list);
    FUZZ_CHECK(ranked.size() == list.size());
    const std::vector<int> order = exchangeSortOrder(averages);
    const QStringList lines = recordLines(ranked);
    FUZZ_CHECK(lines.size() == ranked.size());
    for (int i = 0; i < ranked.size(); ++i) {
        FUZZ_CHECK(ranked[i].toBytes() == list[order[std::size_t(i)]].toBytes());
        checkLine(lines[i], i + 1, ranked[i]);
    }
    // A run of records read anywhere, the record number taken from the input's last bytes:
    // always `count` records, the missing ones (past the end, up to the largest record
    // numbers) as zeros.
    fuzz::Input in(data, size);
    const auto first = in.take<qint64>();
    const qint64 count = in.take<quint8>() % 40 + 1;
    const QList<PlayerRecord> run = file.read(first, count);
    FUZZ_CHECK(run.size() == count);
    const qint64 whole = bytes.size() / PlayerRecord::kSize;
    for (qint64 i = 0; i < count && first >= 1; ++i) // first + i might not fit past the end
        FUZZ_CHECK(run[i].toBytes() == (first <= whole + 1 - i ? fuzz::recordAt(bytes, first + i) : QByteArray(PlayerRecord::kSize, '\0')));

    // Ranks far beyond the list keep all their digits.
    if (!list.isEmpty())
        checkLine(recordLine(100000 + int(size), list.front()), 100000 + int(size), list.front());
    return 0;
}
