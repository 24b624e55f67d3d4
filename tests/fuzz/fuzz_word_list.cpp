// The word list holding any bytes: only whole 6-byte records whose bytes can all be typed
// are drawn, each as 6 upper-case characters of the code page, and a draw picks record
// Int(n * r + 1) among the n usable ones.

#include "FuzzSupport.h"

#include "game/WordList.h"
#include "platform/Windows1252.h"

#include <algorithm>
#include <cmath>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::Input in(data, size);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = fuzz::scratchFile(WordList::fileName());
    fuzz::writeWholeFile(path, bytes);

    // The usable records, found the slow and obvious way.
    std::vector<QByteArray> usable;
    for (qsizetype at = 0; at + WordList::kWordLength <= bytes.size(); at += WordList::kWordLength) {
        const QByteArray record = bytes.mid(at, WordList::kWordLength);
        bool ok = true;
        for (char c : record) {
            const auto b = static_cast<unsigned char>(c);
            ok = ok && b >= 0x20 && b != 0x7F && b != 0x81 && b != 0x8D && b != 0x8F
                && b != 0x90 && b != 0x9D;
        }
        if (ok)
            usable.push_back(record);
    }

    WordList list;
    FUZZ_CHECK(list.open(path));
    FUZZ_CHECK(list.usableCount() == qint64(usable.size()));

    // The ends of [0, 1) and a few values steered by the input.
    std::vector<double> draws = {0.0, 0.5, std::nextafter(1.0, 0.0)};
    for (int i = 0; i < 4 && in.left() > 0; ++i)
        draws.push_back(in.takeUnit());

    for (double r : draws) {
        const QString word = list.draw(r);
        if (usable.empty()) {
            FUZZ_CHECK(word.isEmpty());
            continue;
        }
        FUZZ_CHECK(word.size() == WordList::kWordLength);
        for (QChar c : word)
            FUZZ_CHECK(Windows1252::representable(c));
        FUZZ_CHECK(WordList::typable(Windows1252::encode(word)));
        FUZZ_CHECK(Windows1252::toUpper(word) == word);
        // Int(n * r + 1), written as the draw is defined, within 1..n.
        const double n = double(usable.size());
        const auto k = std::size_t(std::clamp(std::floor(n * r + 1), 1.0, n));
        FUZZ_CHECK(word == Windows1252::toUpper(Windows1252::decode(usable[k - 1])));
    }
    return 0;
}
