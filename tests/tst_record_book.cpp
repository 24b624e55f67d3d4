// Guards how a mode's record file gets its absolute records and how players are found or
// appended, byte for byte, including odd-length files and very long files.
#include "records/RecordBook.h"
#include "support/RecordBytes.h"
#include "support/TestServices.h"

#include <QTest>

namespace {

const QByteArray kPlaceholders = recordBytes("xxxxx", 9999, 0) + recordBytes("xxxxx", 0, 9999);

} // namespace

class tst_record_book : public QObject
{
    Q_OBJECT

private slots:
    void newFileGetsPlaceholdersThenFirstPlayer()
    {
        ScratchFolder folder;
        PlayerFile file;
        QVERIFY(file.open(QStringLiteral("clvfic1.txt")));
        PlayerRecord buffer;
        const RecordBook::AbsRecords abs = RecordBook::loadAbsRecords(file, buffer);
        QCOMPARE(abs.mini, qint16(9999));
        QCOMPARE(abs.average, qint16(9999));
        QCOMPARE(abs.miniName, QStringLiteral("xxxxx          "));
        QCOMPARE(folder.read(QStringLiteral("clvfic1.txt")), kPlaceholders);

        const RecordBook::Lookup found = RecordBook::findPlayer(file, QStringLiteral("Paul"), buffer);
        QCOMPARE(found.recordNumber, qint64(3));
        QVERIFY(found.created);
        QCOMPARE(folder.read(QStringLiteral("clvfic1.txt")),
                 kPlaceholders + recordBytes("Paul", 9999, 9999));
    }

    void existingRecordsAreKept()
    {
        ScratchFolder folder;
        const QByteArray content = recordBytes("Zoe", 180, 7) + recordBytes("Max", 3, 260);
        folder.write(QStringLiteral("clvfic6.txt"), content);
        PlayerFile file;
        QVERIFY(file.open(QStringLiteral("clvfic6.txt")));
        PlayerRecord buffer;
        const RecordBook::AbsRecords abs = RecordBook::loadAbsRecords(file, buffer);
        QCOMPARE(abs.mini, qint16(180));
        QCOMPARE(abs.average, qint16(260));
        QCOMPARE(folder.read(QStringLiteral("clvfic6.txt")), content);
    }

    void damagedAbsoluteRecordIsReplacedKeepingTheOtherField()
    {
        ScratchFolder folder;
        // Record 1 has Mini 0 but an Average of 77, which is written back as it was.
        folder.write(QStringLiteral("clvfic1.txt"), recordBytes("Bob", 0, 77) + recordBytes("Ann", 5, 300));
        PlayerFile file;
        QVERIFY(file.open(QStringLiteral("clvfic1.txt")));
        PlayerRecord buffer;
        RecordBook::loadAbsRecords(file, buffer);
        QCOMPARE(folder.read(QStringLiteral("clvfic1.txt")),
                 recordBytes("xxxxx", 9999, 77) + recordBytes("Ann", 5, 300));
    }

    void lookup_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("expectedRecord");
        QTest::addColumn<bool>("created");
        const QStringList three = {QStringLiteral("Paul"), QStringLiteral("Anne"), QStringLiteral("Paul")};
        QTest::newRow("returning player") << three << QStringLiteral("Anne") << qint64(4) << false;
        QTest::newRow("first match wins") << three << QStringLiteral("Paul") << qint64(3) << false;
        QTest::newRow("case counts") << three << QStringLiteral("PAUL") << qint64(6) << true;
        QTest::newRow("placeholders never match") << QStringList{} << QStringLiteral("xxxxx") << qint64(3) << true;
        QTest::newRow("only 15 characters count")
            << QStringList{QStringLiteral("Maximilien-alexis")} << QStringLiteral("Maximilien-alexandre")
            << qint64(3) << false;
        QTest::newRow("trailing spaces do not matter")
            << QStringList{QStringLiteral("Léa")} << QStringLiteral("Léa   ") << qint64(3) << false;
        QTest::newRow("name outside the code page found by its spelling")
            << QStringList{QStringLiteral("Łukasz")} << QStringLiteral("Łukasz") << qint64(3) << false;
    }
    void lookup()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, name);
        QFETCH(qint64, expectedRecord);
        QFETCH(bool, created);
        ScratchFolder folder;
        PlayerFile file;
        QVERIFY(file.open(QStringLiteral("clvfic1.txt")));
        PlayerRecord buffer;
        RecordBook::loadAbsRecords(file, buffer);
        qint64 k = 3;
        for (const QString &s : stored) {
            PlayerRecord r;
            r.setName(s);
            r.Mini = 500;
            r.Average = 600;
            QVERIFY(file.write(k++, r));
        }
        const qint64 before = file.length();
        const RecordBook::Lookup found = RecordBook::findPlayer(file, name, buffer);
        QCOMPARE(found.recordNumber, expectedRecord);
        QCOMPARE(found.created, created);
        QCOMPARE(file.length(), created ? before + 19 : before);
        QCOMPARE(buffer.Name, FitName(name));
    }

    void accentsAreOneBytePerLetter()
    {
        ScratchFolder folder;
        PlayerFile file;
        QVERIFY(file.open(QStringLiteral("clvfic1.txt")));
        PlayerRecord buffer;
        RecordBook::loadAbsRecords(file, buffer);
        RecordBook::findPlayer(file, QStringLiteral("Hélène"), buffer);
        QCOMPARE(folder.read(QStringLiteral("clvfic1.txt")).mid(38, 6), QByteArray("H\xE9l\xE8ne"));
    }

    void trailingFragment_data()
    {
        QTest::addColumn<int>("fragment");
        QTest::addColumn<qint64>("expectedRecord");
        QTest::newRow("short fragment is overwritten") << 9 << qint64(3);
        QTest::newRow("long fragment is kept") << 10 << qint64(4);
    }
    void trailingFragment()
    {
        QFETCH(int, fragment);
        QFETCH(qint64, expectedRecord);
        ScratchFolder folder;
        const QByteArray tail(fragment, 'z');
        folder.write(QStringLiteral("clvfic1.txt"), kPlaceholders + tail);
        PlayerFile file;
        QVERIFY(file.open(QStringLiteral("clvfic1.txt")));
        PlayerRecord buffer;
        const RecordBook::Lookup found = RecordBook::findPlayer(file, QStringLiteral("Ana"), buffer);
        QCOMPARE(found.recordNumber, expectedRecord);
        const QByteArray bytes = folder.read(QStringLiteral("clvfic1.txt"));
        QCOMPARE(bytes.mid((expectedRecord - 1) * 19, 19), recordBytes("Ana", 9999, 9999));
        if (expectedRecord == 4)
            QCOMPARE(bytes.mid(38, fragment), tail);
    }

    void moreThan32767Players()
    {
        ScratchFolder folder;
        const int players = 33000;
        QByteArray content = kPlaceholders;
        content.reserve(19 * (players + 3));
        for (int i = 0; i < players; ++i)
            content += recordBytes("P" + QByteArray::number(i), 500, 600);
        folder.write(QStringLiteral("clvfic1.txt"), content);
        PlayerFile file;
        QVERIFY(file.open(QStringLiteral("clvfic1.txt")));
        PlayerRecord buffer;
        RecordBook::Lookup found = RecordBook::findPlayer(file, QStringLiteral("P32999"), buffer);
        QCOMPARE(found.recordNumber, qint64(players + 2));
        QVERIFY(!found.created);
        found = RecordBook::findPlayer(file, QStringLiteral("Newcomer"), buffer);
        QCOMPARE(found.recordNumber, qint64(players + 3));
        QCOMPARE(file.read(players + 3).Name, FitName(QStringLiteral("Newcomer")));
    }
};

QTEST_GUILESS_MAIN(tst_record_book)
#include "tst_record_book.moc"
