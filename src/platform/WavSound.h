#pragma once

#include <QByteArray>
#include <QString>

// The samples of a .wav file of integer PCM (8, 16 or 32 bits, 1 to 8 channels), as a
// sound output takes them. Anything else, a damaged or cut header included, reads as no
// sound rather than as noise.
struct WavSound
{
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    QByteArray samples;

    bool isValid() const { return sampleRate > 0 && channels > 0 && !samples.isEmpty(); }
    // How long the samples last, in microseconds.
    qint64 lengthUs() const;

    static WavSound fromBytes(const QByteArray &bytes);
    static WavSound fromFile(const QString &path);
};
