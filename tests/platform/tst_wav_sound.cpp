// Guards the reading of the cue files: the samples and their length from integer PCM .wav
// files, and no sound at all from a damaged, cut or foreign file.
#include "platform/DataPaths.h"
#include "platform/WavSound.h"

#include <QtEndian>
#include <QtTest>


namespace {

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray le16(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray chunk(const QByteArray &id, const QByteArray &body, qint64 declared = -1)
{
    QByteArray out = id + le32(quint32(declared < 0 ? body.size() : declared)) + body;
    if (body.size() & 1)
        out += '\0';
    return out;
}

QByteArray fmt(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 align = channels * bits / 8;
    return chunk("fmt ", le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits));
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

// 0.1 s of 16-bit mono at 22050 Hz.
const QByteArray kSamples(2205 * 2, '\x11');

} // namespace

class TestWavSound : public QObject
{
    Q_OBJECT

private slots:
    // "rate bytes kept, length in µs", or none; every shorter piece of the file reads
    // without harm, as no sound or as less of it.
    void reads()
    {
        const QByteArray mono16 = fmt(1, 1, 22050, 16);
        const QString tenth = QStringLiteral("22050 4410 100000");
        const QList<std::pair<QByteArray, QString>> rows = {
            {riff(mono16 + chunk("data", kSamples)), tenth},
            {riff(fmt(1, 2, 8000, 8) + chunk("data", QByteArray(1600, 'x'))), "8000 1600 100000"},
            {riff(chunk("LIST", "abc") + mono16 + chunk("data", kSamples)), tenth}, // an odd chunk before, padded
            {riff(mono16 + "data" + le32(4410) + kSamples.left(101)), "22050 100 2267"}, // cut short: whole frames
            {riff(fmt(3, 1, 22050, 32) + chunk("data", kSamples)), "none"}, // float samples
            {riff(fmt(1, 1, 22050, 24) + chunk("data", kSamples)), "none"},
            {riff(fmt(1, 0, 22050, 16) + chunk("data", kSamples)), "none"}, // no channel
            {riff(chunk("data", kSamples) + mono16), "none"},
            {riff(chunk("fmt ", "\x01\x00\x01")), "none"},
            {riff(mono16), "none"},
            {riff(mono16 + chunk("data", {})), "none"},
            {riff(chunk("junk", "ab", 0xFFFFFFF0u) + mono16 + chunk("data", kSamples)), "none"}, // a chunk claiming 4 GB
            {QByteArray("RIFF\x04\x00\x00\x00AVI "), "none"},
            {QByteArray(), "none"}};
        for (const auto &[bytes, read] : rows) {
            const WavSound sound = WavSound::fromBytes(bytes);
            QCOMPARE(sound.isValid() ? QStringLiteral("%1 %2 %3").arg(sound.sampleRate).arg(sound.samples.size()).arg(sound.lengthUs())
                                     : QStringLiteral("none"), read);
            QVERIFY(sound.isValid() || (sound.samples.isEmpty() && sound.lengthUs() == 0));
            for (qsizetype n = 0; n < bytes.size(); n += 7)
                QVERIFY(WavSound::fromBytes(bytes.left(n)).samples.size() <= sound.samples.size());
        }
    }

    // The seven cues shipped are read whole, each between 0.1 and 3 seconds: the length in
    // ms another tool gives them where known.
    void shippedCues()
    {
        for (const auto &[file, lengthMs] : {std::pair{"cparti.wav", 594}, {"aurevoir.wav", 698}, {"recmoyab.wav", 2032}, {"oui.wav", 0},
                                             {"recmin.wav", 0}, {"recminab.wav", 0}, {"recmoy.wav", 0}}) {
            const WavSound sound = WavSound::fromFile(locateDataFile(QString::fromLatin1(file)));
            QVERIFY2(sound.sampleRate == 22050 && sound.lengthUs() > 100000 && sound.lengthUs() < 3000000, file);
            QVERIFY2(lengthMs == 0 || sound.lengthUs() / 1000 == lengthMs, file);
        }
    }
};

QTEST_GUILESS_MAIN(TestWavSound)
#include "tst_wav_sound.moc"
