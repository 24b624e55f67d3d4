// Guards the data files shipped with the program: a word list the six-letter mode can use
// whole, seven short PCM sound cues, and that the program finds them from any folder.

#include "game/SoundCues.h"
#include "game/WordList.h"
#include "platform/DataPaths.h"
#include "support/TestDoubles.h"
#include "platform/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>
#include <QtTest>

static QByteArray shipped(const QString &name)
{
    QFile file(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR)).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TestShippedData : public QObject
{
    Q_OBJECT

private slots:
    void wordList()
    {
        const QByteArray bytes = shipped(WordList::fileName());
        const qsizetype words = bytes.size() / WordList::kWordLength;
        QCOMPARE(bytes.size() % WordList::kWordLength, 0);
        QVERIFY2(words >= 1000, qPrintable(QString::number(words)));
        WordList list;
        QVERIFY(list.open(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR)).filePath(WordList::fileName())));
        QCOMPARE(list.usableCount(), words); // no separators or control bytes in between
        QSet<QString> seen;
        for (qsizetype at = 0; at < bytes.size(); at += WordList::kWordLength) {
            const QString word = Windows1252::decode(bytes.mid(at, WordList::kWordLength));
            const QString shown = Windows1252::toUpper(word);
            // Every letter has its capital in the code page, so a typed key upper-cased matches.
            QVERIFY2(std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); })
                         && Windows1252::toLower(shown) == word.toLower() && !seen.contains(shown), qPrintable(word));
            seen.insert(shown);
        }
    }

    void foundFromAnyFolderButTheWorkingFolderFirst()
    {
        ScratchFolder folder;
        const QString shippedList = locateDataFile(WordList::fileName());
        QVERIFY(QFileInfo(shippedList).isAbsolute());
        QCOMPARE(QFileInfo(shippedList).size(), qint64(shipped(WordList::fileName()).size()));
        QVERIFY(QFileInfo::exists(locateDataFile(Cue::Start)));
        folder.write(WordList::fileName(), QByteArray("maison"));
        QCOMPARE(locateDataFile(WordList::fileName()), WordList::fileName());
    }

    void sounds()
    {
        for (const QString &name : {Cue::Start, Cue::Goodbye, Cue::GameBest, Cue::PersonalMini,
                                    Cue::AbsoluteMini, Cue::PersonalAverage, Cue::AbsoluteAverage}) {
            const QByteArray b = shipped(name);
            QVERIFY2(b.startsWith("RIFF") && b.mid(8, 4) == "WAVE"
                         && qFromLittleEndian<quint32>(b.constData() + 4) + 8 == quint32(b.size()), qPrintable(name));
            QByteArray fmt;
            double seconds = 0;
            for (qsizetype at = 12; at + 8 <= b.size();) {
                const quint32 size = qFromLittleEndian<quint32>(b.constData() + at + 4);
                if (b.mid(at, 4) == "fmt ")
                    fmt = b.mid(at + 8, 16);
                else if (b.mid(at, 4) == "data" && fmt.size() == 16)
                    seconds = double(size) / qFromLittleEndian<quint32>(fmt.constData() + 8);
                at += 8 + size + (size & 1);
            }
            // PCM, mono or stereo, 16 bits, between 0.1 and 3 seconds.
            QVERIFY2(fmt.startsWith(QByteArray("\x01\x00", 2)) && (fmt[2] == 1 || fmt[2] == 2)
                         && fmt.mid(14, 2) == QByteArray("\x10\x00", 2), qPrintable(name));
            QVERIFY2(seconds > 0.1 && seconds < 3.0, qPrintable(name + QString::number(seconds)));
        }
    }
};

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shipped_data.moc"
