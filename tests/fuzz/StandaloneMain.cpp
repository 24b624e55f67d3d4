// Runs a fuzz target without the fuzzing engine, so that an ordinary build checks the
// targets too: every file of the folders named on the command line, then, for the given
// seconds, inputs made from them by random edits and plain random inputs, from a fixed
// seed so that a failure repeats.
//
//     fuzz_<target> [--seconds N] <corpus folder>...

#include "FuzzSupport.h"

#include <QDir>
#include <QElapsedTimer>

#include <random>
#include <vector>

int main(int argc, char **argv)
{
    double seconds = 3;
    std::vector<QByteArray> corpus;
    for (int i = 1; i < argc; ++i) {
        const QDir dir(QString::fromLocal8Bit(argv[i]));
        if (QByteArray(argv[i]) == "--seconds" && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (!dir.exists()) {
            std::fprintf(stderr, "no such corpus: %s\n", argv[i]);
            return 2;
        }
        for (const QFileInfo &f : dir.entryInfoList(QDir::Files, QDir::Name)) {
            QFile file(f.filePath());
            corpus.push_back(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
    }
    const auto run = [](const QByteArray &b) { LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(b.constData()), std::size_t(b.size())); };
    for (const QByteArray &b : corpus)
        run(b);

    // Edits that find text faults: a byte set to an edge value (line ends, UTF-8 lead and
    // continuation bytes, invisible characters' bytes), a run removed or inserted.
    static const char edges[] = {'\0', '\n', '\r', ' ', ',', '\x7F', '\x80', '\xAD', '\xBF', '\xC3', '\xE2', '\xEF', '\xFF'};
    std::mt19937_64 rng(20);
    QElapsedTimer timer;
    timer.start();
    long long made = 0;
    for (; timer.elapsed() < qint64(seconds * 1000); ++made) {
        QByteArray b = corpus.empty() || rng() % 4 == 0 ? QByteArray(qsizetype(rng() % 300), '\0') : corpus[rng() % corpus.size()];
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
        run(b);
    }
    std::printf("%zu corpus inputs and %lld random ones passed\n", corpus.size(), made);
}
