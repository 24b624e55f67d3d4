// Guards the reading of the cue files: the samples and their length from integer PCM .wav
// files, and no sound at all from a damaged, cut or foreign file.
#include "platform/DataPaths.h"
#include "platform/WavSound.h"

#include <QtEndian>
#include <QtTest>

#include <utility>

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
    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read"); // "rate bytes kept, length in µs", or none
        const QByteArray mono16 = fmt(1, 1, 22050, 16);
        const QString tenth = QStringLiteral("22050 4410 100000");
        QTest::newRow("16-bit mono") << riff(mono16 + chunk("data", kSamples)) << tenth;
        QTest::newRow("8-bit stereo") << riff(fmt(1, 2, 8000, 8) + chunk("data", QByteArray(1600, 'x'))) << "8000 1600 100000";
        QTest::newRow("odd chunk before, padded") << riff(chunk("LIST", "abc") + mono16 + chunk("data", kSamples)) << tenth;
        QTest::newRow("data cut short: whole frames") << riff(mono16 + "data" + le32(4410) + kSamples.left(101)) << "22050 100 2267";
        QTest::newRow("float samples") << riff(fmt(3, 1, 22050, 32) + chunk("data", kSamples)) << "none";
        QTest::newRow("24-bit samples") << riff(fmt(1, 1, 22050, 24) + chunk("data", kSamples)) << "none";
        QTest::newRow("no channel") << riff(fmt(1, 0, 22050, 16) + chunk("data", kSamples)) << "none";
        QTest::newRow("data before fmt") << riff(chunk("data", kSamples) + mono16) << "none";
        QTest::newRow("fmt cut short") << riff(chunk("fmt ", "\x01\x00\x01")) << "none";
        QTest::newRow("no data chunk") << riff(mono16) << "none";
        QTest::newRow("empty data") << riff(mono16 + chunk("data", {})) << "none";
        QTest::newRow("chunk claiming 4 GB") << riff(chunk("junk", "ab", 0xFFFFFFF0u) + mono16 + chunk("data", kSamples)) << "none";
        QTest::newRow("not a WAVE") << QByteArray("RIFF\x04\x00\x00\x00AVI ") << "none";
        QTest::newRow("empty file") << QByteArray() << "none";
    }
    void reads()
    {
        QFETCH(QByteArray, bytes);
        const WavSound sound = WavSound::fromBytes(bytes);
        QTEST(sound.isValid() ? QStringLiteral("%1 %2 %3").arg(sound.sampleRate).arg(sound.samples.size()).arg(sound.lengthUs())
                              : QStringLiteral("none"), "read");
        QVERIFY(sound.isValid() || (sound.samples.isEmpty() && sound.lengthUs() == 0));
        // Every shorter piece of the file reads without harm, as no sound or as less of it.
        for (qsizetype n = 0; n < bytes.size(); n += 7)
            QVERIFY(WavSound::fromBytes(bytes.left(n)).samples.size() <= sound.samples.size());
    }

    // The cues shipped are read whole: the length in ms another tool gives them.
    void shippedCues()
    {
        const std::pair<const char *, int> cues[] = {{"cparti.wav", 594}, {"aurevoir.wav", 698}, {"recmoyab.wav", 2032}};
        for (const auto &[file, lengthMs] : cues) {
            const WavSound sound = WavSound::fromFile(locateDataFile(QString::fromLatin1(file)));
            QCOMPARE(sound.sampleRate, 22050);
            QCOMPARE(sound.lengthUs() / 1000, qint64(lengthMs));
        }
    }
};

QTEST_GUILESS_MAIN(TestWavSound)
#include "tst_wav_sound.moc"
