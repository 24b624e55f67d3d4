// Runs a fuzz target without the fuzzing engine, so that an ordinary build checks the
// targets too: every file of the corpus folders given, then, for the given seconds, inputs
// made from them by random edits and plain random bytes, from a fixed seed so that a failure
// repeats.    fuzz_<target> --seconds N <corpus folder>...
#include "FuzzSupport.h"

#include <QDir>
#include <QElapsedTimer>

#include <random>
#include <vector>

int main(int argc, char **argv)
{
    std::vector<QByteArray> corpus;
    for (int i = 3; i < argc; ++i)
        for (const QFileInfo &f : QDir(QString::fromLocal8Bit(argv[i])).entryInfoList(QDir::Files, QDir::Name)) {
            QFile file(f.filePath());
            corpus.push_back(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
    if (argc < 4 || corpus.empty())
        return std::fprintf(stderr, "usage: %s --seconds N <corpus folder>...\n", argv[0]), 2;
    // Edits that find text faults: a byte set to an edge value (line ends, UTF-8 lead and
    // continuation bytes, invisible characters' bytes), a run removed or copied elsewhere.
    static const char edges[] = {'\0', '\n', '\r', ' ', ',', '\x7F', '\x80', '\xAD', '\xBF', '\xC3', '\xE2', '\xEF', '\xFF'};
    std::mt19937_64 rng(20);
    QElapsedTimer timer;
    timer.start();
    long long made = 0;
    for (const QByteArray &b : corpus)
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(b.constData()), std::size_t(b.size()));
    for (; timer.elapsed() < qint64(std::atof(argv[2]) * 1000); ++made) {
        QByteArray b = rng() % 4 ? corpus[rng() % corpus.size()] : QByteArray(qsizetype(rng() % 300), '\0');
        if (b.count('\0') == b.size())
            for (char &x : b)
                x = char(rng());
        for (int edits = int(rng() % 4); edits > 0 && !b.isEmpty(); --edits) {
            const qsizetype at = qsizetype(rng() % std::uint64_t(b.size()));
            if (rng() % 3 == 0)
                b[at] = edges[rng() % sizeof edges];
            else if (rng() % 2)
                b.remove(at, qsizetype(1 + rng() % 20));
            else
                b.insert(at, b.mid(qsizetype(rng() % std::uint64_t(b.size())), qsizetype(1 + rng() % 12)));
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(b.constData()), std::size_t(b.size()));
    }
    std::printf("%zu corpus inputs and %lld random ones passed\n", corpus.size(), made);
}
