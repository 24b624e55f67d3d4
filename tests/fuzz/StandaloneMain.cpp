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

Bytes toBytes(const QByteArray &b)
{
    return Bytes(b.begin(), b.end());
}

// One random edit of the kind that finds record-file faults: flipped bits, bytes set to
// edge values, inserted or removed runs, a copied run, a length cut near a record edge.
void mutate(Bytes &b, std::mt19937_64 &rng)
{
    auto pick = [&rng](std::size_t n) { return n == 0 ? 0 : std::size_t(rng() % n); };
    switch (rng() % 7) {
    case 0:
        if (!b.empty())
            b[pick(b.size())] ^= std::uint8_t(1u << (rng() % 8));
        break;
    case 1: {
        static const std::uint8_t edges[] = {0x00, 0x01, 0x0D, 0x20, 0x3F, 0x7F, 0x80, 0x81,
                                             0x9C, 0x9F, 0xA0, 0xDF, 0xFF, 0x0F, 0x27};
        if (!b.empty())
            b[pick(b.size())] = edges[rng() % sizeof edges];
        break;
    }
    case 2: {
        const std::size_t at = pick(b.size() + 1);
        const std::size_t n = 1 + rng() % 24;
        for (std::size_t i = 0; i < n; ++i)
            b.insert(b.begin() + std::ptrdiff_t(at), std::uint8_t(rng()));
        break;
    }
    case 3:
        if (!b.empty()) {
            const std::size_t at = pick(b.size());
            const std::size_t n = std::min<std::size_t>(1 + rng() % 24, b.size() - at);
            b.erase(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + n));
        }
        break;
    case 4:
        if (!b.empty()) {
            const std::size_t from = pick(b.size());
            const std::size_t n = std::min<std::size_t>(1 + rng() % 40, b.size() - from);
            const Bytes run(b.begin() + std::ptrdiff_t(from), b.begin() + std::ptrdiff_t(from + n));
            b.insert(b.begin() + std::ptrdiff_t(pick(b.size() + 1)), run.begin(), run.end());
        }
        break;
    case 5: {
        const std::size_t unit = rng() % 2 ? 19 : 6;
        b.resize((b.size() / unit + rng() % 3) * unit + rng() % 3, 0);
        break;
    }
    default:
        if (b.size() >= 2)
            std::swap(b[pick(b.size())], b[pick(b.size())]);
        break;
    }
}

void run(const Bytes &b)
{
    LLVMFuzzerTestOneInput(b.data(), b.size());
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
            QStringList files;
            if (info.isDir()) {
                for (const QFileInfo &f : QDir(info.filePath()).entryInfoList(QDir::Files, QDir::Name))
                    files << f.filePath();
            } else if (info.isFile()) {
                files << info.filePath();
            } else {
                std::fprintf(stderr, "no such corpus: %s\n", argv[i]);
                return 2;
            }
            for (const QString &f : files)
                corpus.push_back(toBytes(fuzz::readWholeFile(f)));
        }
    }

    for (const Bytes &b : corpus)
        run(b);
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
        run(b);
        ++made;
    }
    std::printf("%lld random inputs passed (seed %llu)\n", made, static_cast<unsigned long long>(seed));
    return 0;
}
