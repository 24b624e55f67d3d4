#pragma once

// Shared by the fuzz targets: a scratch folder kept for the whole process (on /dev/shm when
// it exists, so that the fsync of every record write costs nothing), a failed check that
// stops the run loudly, and a reader that splits the raw input into numbers and bytes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// A broken invariant: print where and abort, which both the fuzzer and the standalone
// driver report as a failure with the input that caused it.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__,         \
                         #condition);                                                      \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)

namespace fuzz {

// The folder of this process's files, made once and removed at exit.
inline QString scratchFile(const QString &name)
{
    static QTemporaryDir dir([] {
        const char *shm = "/dev/shm";
        const QString base = QDir(QString::fromLatin1(shm)).exists()
                && QFile::permissions(QString::fromLatin1(shm)).testFlag(QFileDevice::WriteUser)
            ? QString::fromLatin1(shm)
            : QDir::tempPath();
        return base + QStringLiteral("/clavimo-fuzz-XXXXXX");
    }());
    if (!dir.isValid()) {
        std::fprintf(stderr, "no scratch folder: %s\n", qPrintable(dir.errorString()));
        std::abort();
    }
    return dir.filePath(name);
}

// Replaces the file's whole content; a failure here is the machine's, not the code's.
inline void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

inline QByteArray readWholeFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::abort();
    }
    return f.readAll();
}

// Numbers come off the end of the input and byte strings off the front, so that a seed
// made of a whole data file keeps its head intact and its tail steers the choices.
class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size)
        : data_(data), size_(size)
    {
    }

    std::size_t left() const { return size_; }

    template <typename T>
    T take()
    {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < sizeof(T) && size_ > 0; ++i) {
            v = (v << 8) | data_[size_ - 1];
            --size_;
        }
        return static_cast<T>(v); // keeps the low bits, signed types included (C++20)
    }

    // A number in [0, 1), any of 2^53 evenly spaced values.
    double takeUnit() { return double(take<std::uint64_t>() >> 11) * 0x1.0p-53; }

    QByteArray takeBytes(std::size_t n)
    {
        n = n < size_ ? n : size_;
        QByteArray out(reinterpret_cast<const char *>(data_), qsizetype(n));
        data_ += n;
        size_ -= n;
        return out;
    }

    QByteArray takeRest() { return takeBytes(size_); }

private:
    const std::uint8_t *data_;
    std::size_t size_;
};

} // namespace fuzz
