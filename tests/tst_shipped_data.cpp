// Guards the data files shipped with the program: a word list the six-letter mode can use
// whole, and seven sound cues in a format every player reads, each short.
#include "game/SoundCue.h"
#include "game/WordList.h"
#include "platform/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QtEndian>
#include <QtTest>

namespace {

QString dataFile(const QString &name)
{
    return QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR)).filePath(name);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

quint16 u16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

} // namespace

class TestShippedData : public QObject
{
    Q_OBJECT

private slots:
    void wordListIsWholeRecords();
    void wordListRecordsAreTypableLetters();
    void wordListHasNoDuplicates();
    void wordListIsFullyUsableByTheGame();
    void soundIsShortPcm_data();
    void soundIsShortPcm();
};

void TestShippedData::wordListIsWholeRecords()
{
    const QByteArray bytes = readAll(dataFile(WordList::fileName()));
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(bytes.size() % WordList::kWordLength, 0);
    const qsizetype words = bytes.size() / WordList::kWordLength;
    QVERIFY2(words >= 1000 && words <= 20000, qPrintable(QString::number(words)));
    // No line ends or other separators slipped in between the records.
    for (char c : bytes)
        QVERIFY(static_cast<unsigned char>(c) >= 32);
}

void TestShippedData::wordListRecordsAreTypableLetters()
{
    const QByteArray bytes = readAll(dataFile(WordList::fileName()));
    QVERIFY(!bytes.isEmpty());
    for (qsizetype at = 0; at + WordList::kWordLength <= bytes.size();
         at += WordList::kWordLength) {
        const QByteArray record = bytes.mid(at, WordList::kWordLength);
        QVERIFY2(WordList::typable(record), record.toHex().constData());
        const QString word = Windows1252::decode(record);
        for (QChar c : word)
            QVERIFY2(c.isLetter(), qPrintable(word));
        // Shown in capitals: every letter has its capital in the code page, so the
        // player's lower-case key, upper-cased, matches it.
        const QString shown = Windows1252::toUpper(word);
        QVERIFY2(Windows1252::toLower(shown) == word.toLower(), qPrintable(word));
        QVERIFY2(Windows1252::representable(shown.at(0)), qPrintable(word));
    }
}

void TestShippedData::wordListHasNoDuplicates()
{
    const QByteArray bytes = readAll(dataFile(WordList::fileName()));
    QVERIFY(!bytes.isEmpty());
    QSet<QString> seen;
    for (qsizetype at = 0; at + WordList::kWordLength <= bytes.size();
         at += WordList::kWordLength) {
        const QString shown =
            Windows1252::toUpper(Windows1252::decode(bytes.mid(at, WordList::kWordLength)));
        QVERIFY2(!seen.contains(shown), qPrintable(shown));
        seen.insert(shown);
    }
}

void TestShippedData::wordListIsFullyUsableByTheGame()
{
    const QString path = dataFile(WordList::fileName());
    WordList list;
    QVERIFY(list.open(path));
    QCOMPARE(list.usableCount(), QFileInfo(path).size() / WordList::kWordLength);
    QCOMPARE(list.draw(0.0).size(), WordList::kWordLength);
    QCOMPARE(list.draw(0.999999).size(), WordList::kWordLength);
}

void TestShippedData::soundIsShortPcm_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : {Cue::Start, Cue::Goodbye, Cue::GameBest, Cue::PersonalMini,
                                Cue::AbsoluteMini, Cue::PersonalAverage, Cue::AbsoluteAverage})
        QTest::newRow(qPrintable(name)) << name;
}

void TestShippedData::soundIsShortPcm()
{
    QFETCH(QString, name);
    const QByteArray b = readAll(dataFile(name));
    QVERIFY2(b.size() >= 44, "missing or truncated");
    QCOMPARE(b.left(4), QByteArray("RIFF"));
    QCOMPARE(qsizetype(u32(b, 4)) + 8, b.size());
    QCOMPARE(b.mid(8, 4), QByteArray("WAVE"));

    quint16 format = 0, channels = 0, bits = 0, blockAlign = 0;
    quint32 rate = 0, byteRate = 0, dataSize = 0;
    bool haveFormat = false, haveData = false;
    qsizetype at = 12;
    while (at + 8 <= b.size()) {
        const QByteArray id = b.mid(at, 4);
        const quint32 size = u32(b, at + 4);
        QVERIFY2(at + 8 + qsizetype(size) <= b.size(), id.constData());
        if (id == "fmt ") {
            QVERIFY(size >= 16);
            format = u16(b, at + 8);
            channels = u16(b, at + 10);
            rate = u32(b, at + 12);
            byteRate = u32(b, at + 16);
            blockAlign = u16(b, at + 20);
            bits = u16(b, at + 22);
            haveFormat = true;
        } else if (id == "data") {
            dataSize = size;
            haveData = true;
            // Not silence: some sample comes near full scale.
            int peak = 0;
            for (qsizetype s = at + 8; s + 1 < at + 8 + qsizetype(size); s += 2)
                peak = qMax(peak, qAbs(int(qint16(u16(b, s)))));
            QVERIFY2(peak > 8000, qPrintable(QString::number(peak)));
        }
        at += 8 + size + (size & 1);
    }
    QVERIFY(haveFormat);
    QVERIFY(haveData);
    QCOMPARE(format, quint16(1));
    QCOMPARE(bits, quint16(16));
    QVERIFY(channels == 1 || channels == 2);
    QVERIFY(rate == 22050 || rate == 44100);
    QCOMPARE(blockAlign, quint16(channels * 2));
    QCOMPARE(byteRate, rate * blockAlign);
    const double seconds = double(dataSize) / byteRate;
    QVERIFY2(seconds > 0.1 && seconds < 3.0, qPrintable(QString::number(seconds)));
}

QTEST_MAIN(TestShippedData)
#include "tst_shipped_data.moc"
