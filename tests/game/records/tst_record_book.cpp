// Guards how a mode's record file gets its absolute records and how players are found or
// appended, byte for byte, including odd-length files and files of over 32767 players.
#include "game/records/RecordBook.h"
#include "support/EntryBytes.h"
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
        const QByteArray kept = entryBytes("Zoe", 180, 7) + entryBytes("Max", 3, 260);
        QTest::newRow("existing records kept") << kept << kept << 180 << 260;
        // A value of 0 is replaced by the placeholder; the unused field is written back.
        QTest::newRow("damaged record 1") << entryBytes("Bob", 0, 77) + entryBytes("Ann", 5, 300)
                                          << entryBytes("xxxxx", 9999, 77) + entryBytes("Ann", 5, 300) << 9999 << 300;
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
        QTest::addColumn<QByteArray>("after"); // the player entries afterwards
        const QByteArray three = entryBytes("Paul", 500, 600) + entryBytes("Anne", 1, 2) + entryBytes("Paul", 7, 8);
        const QByteArray ana = entryBytes("Ana", 9999, 9999);
        QTest::newRow("returning player") << three << QStringLiteral("Anne") << qint64(4) << three;
        QTest::newRow("first match wins") << three << QStringLiteral("Paul") << qint64(3) << three;
        QTest::newRow("case counts") << three << QStringLiteral("PAUL") << qint64(6)
                                     << three + entryBytes("PAUL", 9999, 9999);
        QTest::newRow("placeholders never match") << QByteArray() << QStringLiteral("xxxxx") << qint64(3)
                                                  << entryBytes("xxxxx", 9999, 9999);
        const QByteArray maxi = entryBytes("Maximilien-alex", 1, 1);
        QTest::newRow("only 15 characters count") << maxi << QStringLiteral("Maximilien-alexandre") << qint64(3) << maxi;
        QTest::newRow("accents one byte each") << QByteArray() << QStringLiteral("Hélène") << qint64(3)
                                               << entryBytes("H\xE9l\xE8ne", 9999, 9999);
        const QByteArray lukasz = entryBytes("?ukasz", 1, 1);
        QTest::newRow("outside the code page, found again") << lukasz << QStringLiteral("Łukasz") << qint64(3) << lukasz;
        QTest::newRow("short fragment overwritten") << QByteArray(9, 'z') << QStringLiteral("Ana") << qint64(3) << ana;
        QTest::newRow("a kept fragment is a player too")
            << entryBytes("Ana", 300, 400).left(16) << QStringLiteral("Ana") << qint64(3)
            << entryBytes("Ana", 300, 400).left(16);
        QTest::newRow("long fragment kept") << QByteArray(10, 'z') << QStringLiteral("Ana") << qint64(4)
                                            << QByteArray(10, 'z') + QByteArray(9, '\0') + ana;
        QByteArray many;
        for (int i = 0; i < 33000; ++i)
            many += entryBytes("P" + QByteArray::number(i), 500, 600);
        QTest::newRow("beyond record 32767") << many << QStringLiteral("P32999") << qint64(33002) << many;
        QTest::newRow("newcomer after 33000 players")
            << many << QStringLiteral("Newcomer") << qint64(33003) << many + entryBytes("Newcomer", 9999, 9999);
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
