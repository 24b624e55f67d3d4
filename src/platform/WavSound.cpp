#include "platform/WavSound.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace {

quint32 u32At(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

quint16 u16At(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

// Larger files are no cue of the program's; the limit keeps a wrong file out of memory.
constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

} // namespace

qint64 WavSound::lengthUs() const
{
    const qint64 frameBytes = qint64(channels) * (bitsPerSample / 8);
    if (!isValid() || frameBytes <= 0)
        return 0;
    return samples.size() / frameBytes * 1000000 / sampleRate;
}

WavSound WavSound::fromBytes(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    WavSound out;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = u32At(bytes, at + 4);
        const qsizetype body = at + 8;
        const qint64 available = std::min<qint64>(size, bytes.size() - body);
        if (id == "fmt ") {
            if (available < 16)
                return {};
            const quint16 tag = u16At(bytes, body);
            out.channels = u16At(bytes, body + 2);
            out.sampleRate = int(u32At(bytes, body + 4));
            out.bitsPerSample = u16At(bytes, body + 14);
            // 1 is integer PCM; 0xFFFE (extensible) is accepted for the same sizes.
            const bool pcm = tag == 1 || tag == 0xFFFE;
            const int bits = out.bitsPerSample;
            if (!pcm || out.channels < 1 || out.channels > 8 || out.sampleRate < 1000
                || out.sampleRate > 384000 || (bits != 8 && bits != 16 && bits != 32))
                return {};
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return {};
            // A data chunk cut short (a file still being copied) plays what there is, in
            // whole frames.
            const qsizetype frame = qsizetype(out.channels) * (out.bitsPerSample / 8);
            out.samples = bytes.mid(body, available - available % frame);
            return out.isValid() ? out : WavSound{};
        }
        // Chunks are padded to an even size.
        at = body + size + (size & 1);
    }
    return {};
}

WavSound WavSound::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxBytes)
        return {};
    return fromBytes(file.readAll());
}
