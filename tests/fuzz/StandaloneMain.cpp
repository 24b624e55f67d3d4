// Runs a fuzz target without the fuzzing engine, so that an ordinary build and compiler
// check the targets too: every file of the folders or files named on the command line,
// then, for the given number of seconds, inputs made from them by random edits and plain
// random inputs, all from a fixed seed so that a failure repeats.
//
//     fuzz_<target> [--seconds N] [--seed S] <corpus folder or file>...

#include "FuzzSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// One random edit of the kind that finds file faults: a byte set to an edge value or
// flipped, a removed or inserted run, a length cut near an entry's or a word's edge.
void mutate(Bytes &b, std::mt19937_64 &rng)
{
    static const std::uint8_t edges[] = {0x00, 0x01, 0x20, 0x3F, 0x7F, 0x80, 0x81, 0x9C, 0x9F, 0xFF, 0x0F, 0x27};
    const std::size_t i = b.empty() ? 0 : std::size_t(rng() % b.size());
    const auto at = b.begin() + std::ptrdiff_t(i);
    const unsigned kind = unsigned(rng() % 4);
    const std::size_t unit = rng() % 2 ? 19 : 6;
    if (kind == 0 && !b.empty())
        b[i] = rng() % 2 ? edges[rng() % sizeof edges] : std::uint8_t(b[i] ^ (1u << (rng() % 8)));
    else if (kind == 1)
        b.erase(at, at + std::ptrdiff_t(std::min<std::size_t>(1 + rng() % 40, b.size() - i)));
    else if (kind == 2)
        b.insert(at, 1 + rng() % 24, std::uint8_t(rng()));
    else if (kind == 3)
        b.resize((b.size() / unit + rng() % 3) * unit + rng() % 3, 0);
}

} // namespace

int main(int argc, char **argv)
{
    double seconds = 3;
    std::uint64_t seed = 20;
    std::vector<Bytes> corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else {
            const QFileInfo info(QString::fromLocal8Bit(argv[i]));
            if (!info.exists()) {
                std::fprintf(stderr, "no such corpus: %s\n", argv[i]);
                return 2;
            }
            for (const QFileInfo &f : info.isDir() ? QDir(info.filePath()).entryInfoList(QDir::Files, QDir::Name)
                                                   : QFileInfoList{info}) {
                const QByteArray bytes = fuzz::readWholeFile(f.filePath());
                corpus.emplace_back(bytes.begin(), bytes.end());
            }
        }
    }

    for (const Bytes &b : corpus)
        LLVMFuzzerTestOneInput(b.data(), b.size());
    std::printf("%zu corpus inputs passed\n", corpus.size());

    std::mt19937_64 rng(seed);
    QElapsedTimer timer;
    timer.start();
    long long made = 0;
    while (timer.elapsed() < qint64(seconds * 1000)) {
        Bytes b;
        if (!corpus.empty() && rng() % 4 != 0) {
            b = corpus[rng() % corpus.size()];
            for (int edits = 1 + int(rng() % 4); edits > 0; --edits)
                mutate(b, rng);
        } else {
            b.resize(rng() % 300);
            for (auto &x : b)
                x = std::uint8_t(rng());
        }
        LLVMFuzzerTestOneInput(b.data(), b.size());
        ++made;
    }
    std::printf("%lld random inputs passed (seed %llu)\n", made, static_cast<unsigned long long>(seed));
    return 0;
}
