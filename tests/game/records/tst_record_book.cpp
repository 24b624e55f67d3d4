// Guards how a mode's record file gets its absolute records and how players are found or
// appended, byte for byte, including odd-length files and files of over 32767 players.
#include "game/records/RecordBook.h"
#include "support/RecordBytes.h"
#include "support/TestDoubles.h"

#include <QTest>

namespace {
const QString kFile = QStringLiteral("clvfic1.txt");
} // namespace

class TestRecordBook : public QObject
{
    Q_OBJECT

private slots:
    void absoluteRecords_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("mini");
        QTest::addColumn<int>("average");
        QTest::newRow("new file") << QByteArray() << kPlaceholders << 9999 << 9999;
        const QByteArray kept = recordBytes("Zoe", 180, 7) + recordBytes("Max", 3, 260);
        QTest::newRow("existing records kept") << kept << kept << 180 << 260;
        // A value of 0 is replaced by the placeholder; the unused field is written back.
        QTest::newRow("damaged record 1") << recordBytes("Bob", 0, 77) + recordBytes("Ann", 5, 300)
                                          << recordBytes("xxxxx", 9999, 77) + recordBytes("Ann", 5, 300) << 9999 << 300;
    }
    void absoluteRecords()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(int, mini);
        QFETCH(int, average);
        ScratchFolder folder;
        folder.write(kFile, before);
        PlayerFile file;
        QVERIFY(file.open(kFile));
        const RecordBook::AbsRecords abs = RecordBook::loadAbsRecords(file);
        QCOMPARE(int(abs.mini), mini);
        QCOMPARE(int(abs.average), average);
        QCOMPARE(folder.read(kFile), after);
    }

    void lookup_data()
    {
        QTest::addColumn<QByteArray>("players");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("record");
        QTest::addColumn<QByteArray>("after"); // the player records afterwards
        const QByteArray three = recordBytes("Paul", 500, 600) + recordBytes("Anne", 1, 2) + recordBytes("Paul", 7, 8);
        const QByteArray ana = recordBytes("Ana", 9999, 9999);
        QTest::newRow("returning player") << three << QStringLiteral("Anne") << qint64(4) << three;
        QTest::newRow("first match wins") << three << QStringLiteral("Paul") << qint64(3) << three;
        QTest::newRow("case counts") << three << QStringLiteral("PAUL") << qint64(6)
                                     << three + recordBytes("PAUL", 9999, 9999);
        QTest::newRow("placeholders never match") << QByteArray() << QStringLiteral("xxxxx") << qint64(3)
                                                  << recordBytes("xxxxx", 9999, 9999);
        const QByteArray maxi = recordBytes("Maximilien-alex", 1, 1);
        QTest::newRow("only 15 characters count") << maxi << QStringLiteral("Maximilien-alexandre") << qint64(3) << maxi;
        QTest::newRow("accents one byte each") << QByteArray() << QStringLiteral("Hélène") << qint64(3)
                                               << recordBytes("H\xE9l\xE8ne", 9999, 9999);
        const QByteArray lukasz = recordBytes("?ukasz", 1, 1);
        QTest::newRow("outside the code page, found again") << lukasz << QStringLiteral("Łukasz") << qint64(3) << lukasz;
        QTest::newRow("short fragment overwritten") << QByteArray(9, 'z') << QStringLiteral("Ana") << qint64(3) << ana;
        QTest::newRow("a kept fragment is a player too")
            << recordBytes("Ana", 300, 400).left(16) << QStringLiteral("Ana") << qint64(3)
            << recordBytes("Ana", 300, 400).left(16);
        QTest::newRow("long fragment kept") << QByteArray(10, 'z') << QStringLiteral("Ana") << qint64(4)
                                            << QByteArray(10, 'z') + QByteArray(9, '\0') + ana;
        QByteArray many;
        for (int i = 0; i < 33000; ++i)
            many += recordBytes("P" + QByteArray::number(i), 500, 600);
        QTest::newRow("beyond record 32767") << many << QStringLiteral("P32999") << qint64(33002) << many;
        QTest::newRow("newcomer after 33000 players")
            << many << QStringLiteral("Newcomer") << qint64(33003) << many + recordBytes("Newcomer", 9999, 9999);
    }
    void lookup()
    {
        QFETCH(QByteArray, players);
        QFETCH(QString, name);
        QFETCH(QByteArray, after);
        ScratchFolder folder;
        folder.write(kFile, kPlaceholders + players);
        PlayerFile file;
        QVERIFY(file.open(kFile));
        const RecordBook::Lookup found = RecordBook::findPlayer(file, name);
        QTEST(found.recordNumber, "record");
        QCOMPARE(found.created, after != players);
        QCOMPARE(folder.read(kFile), kPlaceholders + after);
    }
};

QTEST_GUILESS_MAIN(TestRecordBook)
#include "tst_record_book.moc"
