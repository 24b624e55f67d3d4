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
    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rate");     // 0: no sound
        QTest::addColumn<int>("bytesKept");
        QTest::addColumn<qint64>("lengthUs");
        const QByteArray mono16 = fmt(1, 1, 22050, 16);
        QTest::newRow("16-bit mono") << riff(mono16 + chunk("data", kSamples)) << 22050 << 4410 << qint64(100000);
        QTest::newRow("8-bit stereo") << riff(fmt(1, 2, 8000, 8) + chunk("data", QByteArray(1600, 'x')))
                                      << 8000 << 1600 << qint64(100000);
        QTest::newRow("odd chunk before, padded") << riff(chunk("LIST", "abc") + mono16 + chunk("data", kSamples))
                                                  << 22050 << 4410 << qint64(100000);
        QTest::newRow("data cut short: whole frames") << riff(mono16 + "data" + le32(4410) + kSamples.left(101))
                                                      << 22050 << 100 << qint64(2267);
        QTest::newRow("float samples") << riff(fmt(3, 1, 22050, 32) + chunk("data", kSamples)) << 0 << 0 << qint64(0);
        QTest::newRow("24-bit samples") << riff(fmt(1, 1, 22050, 24) + chunk("data", kSamples)) << 0 << 0 << qint64(0);
        QTest::newRow("no channel") << riff(fmt(1, 0, 22050, 16) + chunk("data", kSamples)) << 0 << 0 << qint64(0);
        QTest::newRow("data before fmt") << riff(chunk("data", kSamples) + mono16) << 0 << 0 << qint64(0);
        QTest::newRow("fmt cut short") << riff(chunk("fmt ", "\x01\x00\x01")) << 0 << 0 << qint64(0);
        QTest::newRow("no data chunk") << riff(mono16) << 0 << 0 << qint64(0);
        QTest::newRow("empty data") << riff(mono16 + chunk("data", {})) << 0 << 0 << qint64(0);
        QTest::newRow("chunk claiming 4 GB") << riff(chunk("junk", "ab", 0xFFFFFFF0u) + mono16 + chunk("data", kSamples))
                                             << 0 << 0 << qint64(0);
        QTest::newRow("not a WAVE") << QByteArray("RIFF\x04\x00\x00\x00AVI ") << 0 << 0 << qint64(0);
        QTest::newRow("empty file") << QByteArray() << 0 << 0 << qint64(0);
    }
    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rate);
        QFETCH(int, bytesKept);
        QFETCH(qint64, lengthUs);
        const WavSound sound = WavSound::fromBytes(bytes);
        QCOMPARE(sound.isValid(), rate != 0);
        QCOMPARE(sound.samples.size(), bytesKept);
        QCOMPARE(sound.lengthUs(), lengthUs);
        if (rate)
            QCOMPARE(sound.sampleRate, rate);
        // Every shorter piece of the file reads without harm, as no sound or as less of it.
        for (qsizetype n = 0; n < bytes.size(); n += 7)
            QVERIFY(WavSound::fromBytes(bytes.left(n)).samples.size() <= bytesKept);
    }

    // The cues shipped are read whole: the length soxi gives them.
    void shippedCues_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("lengthMs");
        QTest::newRow("start") << QStringLiteral("cparti.wav") << qint64(594);
        QTest::newRow("goodbye") << QStringLiteral("aurevoir.wav") << qint64(698);
        QTest::newRow("absolute average") << QStringLiteral("recmoyab.wav") << qint64(2032);
    }
    void shippedCues()
    {
        QFETCH(QString, file);
        QFETCH(qint64, lengthMs);
        const WavSound sound = WavSound::fromFile(locateDataFile(file));
        QVERIFY(sound.isValid());
        QCOMPARE(sound.sampleRate, 22050);
        QCOMPARE(sound.lengthUs() / 1000, lengthMs);
    }
};

QTEST_GUILESS_MAIN(TestWavSound)
#include "tst_wav_sound.moc"
