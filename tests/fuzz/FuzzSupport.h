#pragma once

// Shared by the fuzz targets: a failed check that stops the run loudly, a scratch folder
// (on /dev/shm when it takes files, so that the fsync of every write costs nothing), whole
// files written and read, the entries of a file's bytes, and a reader of the raw input.

#include "game/records/PlayerEntry.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// A broken invariant: print where and abort; the fuzzer and the standalone driver report it.
#define FUZZ_CHECK(condition) ((condition) ? void() : fuzz::fail(__FILE__, __LINE__, "check failed: " #condition))

namespace fuzz {

[[noreturn]] inline void fail(const char *where, int line, const QString &what)
{
    std::fprintf(stderr, "%s:%d: %s\n", where, line, qPrintable(what));
    std::abort();
}

// The folder of this process's files, made once and removed at exit.
inline QString scratchFile(const QString &name)
{
    static const auto dir = [] {
        auto made = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/clavimo-fuzz-XXXXXX"));
        if (!made->isValid())
            made = std::make_unique<QTemporaryDir>();
        if (!made->isValid())
            fail(__FILE__, __LINE__, "no scratch folder: " + made->errorString());
        return made;
    }();
    return dir->filePath(name);
}

// Replaces or reads the file's whole content; a failure here is the machine's, not the code's.
inline void writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fail(__FILE__, __LINE__, "cannot write " + path);
}

inline QByteArray readWholeFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : (fail(__FILE__, __LINE__, "cannot read " + path), QByteArray());
}

// Entry k (from 1) of a file's bytes as reading it must give it: a trailing fragment padded
// with zeros, and zeros past the end.
inline QByteArray recordAt(const QByteArray &file, qint64 k)
{
    constexpr int size = PlayerEntry::kSize;
    if (k < 1 || k > file.size() / size + 1)
        return QByteArray(size, '\0');
    return file.mid(qsizetype(k - 1) * size, size).leftJustified(size, '\0', true);
}

inline qint16 int16At(const QByteArray &bytes, int at) { return qFromLittleEndian<qint16>(bytes.constData() + at); }

// Numbers come off the end of the input and byte strings off the front, so that a seed
// made of a whole data file keeps its head intact and its tail steers the choices.
class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}

    std::size_t left() const { return size_; }

    template <typename T> T take()
    {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < sizeof(T) && size_ > 0; ++i)
            v = (v << 8) | data_[--size_];
        return static_cast<T>(v); // keeps the low bits, signed types included (C++20)
    }
    QByteArray takeRest() { return QByteArray(reinterpret_cast<const char *>(data_), qsizetype(std::exchange(size_, 0))); }

private:
    const std::uint8_t *data_;
    std::size_t size_;
};

} // namespace fuzz
