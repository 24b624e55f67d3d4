// Guards the word list draw: record Int(n * r + 1) among the usable records, shown in upper case, and a list without usable words drawing nothing.

#include "game/WordList.h"
#include "support/TestDoubles.h"

#include <QtTest>

#include <cmath>

class TestWordList : public QObject
{
    Q_OBJECT

private slots:
    void draw_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("word");
        QTest::addColumn<qint64>("usable");
        QByteArray hundred; // "a00001" to "a00100", 600 bytes
        for (int i = 1; i <= 100; ++i)
            hundred += "a" + QByteArray::number(i).rightJustified(5, '0');
        const double belowOne = std::nextafter(1.0, 0.0);
        QTest::newRow("r = 0") << hundred << 0.0 << QStringLiteral("A00001") << qint64(100);
        QTest::newRow("r just below 1") << hundred << belowOne << QStringLiteral("A00100") << qint64(100);
        QTest::newRow("r = 0.5") << hundred << 0.5 << QStringLiteral("A00051") << qint64(100);
        QTest::newRow("partial record never drawn") << hundred + "xyz" << belowOne << QStringLiteral("A00100") << qint64(100);
        QTest::newRow("upper case with accents") << QByteArray("\xE9t\x9C\xFF\xDF\xB5") << 0.0 << QStringLiteral("ÉTŒŸßµ") << qint64(1);
        QTest::newRow("control bytes skipped") << QByteArray("abcdef\r\nghijklmnop") << 0.5 << QStringLiteral("KLMNOP") << qint64(2);
        QTest::newRow("none usable") << QByteArray("\r\nabcdab\0def\tbcdef", 18) << 0.0 << QString() << qint64(0);
        QTest::newRow("missing file") << QByteArray("missing") << 0.0 << QString() << qint64(0);
    }
    void draw()
    {
        QFETCH(QByteArray, content);
        QFETCH(double, r);
        ScratchFolder folder;
        if (content != "missing")
            folder.write(WordList::fileName(), content);
        WordList list;
        QCOMPARE(list.open(WordList::fileName()), content != "missing");
        QTEST(list.usableCount(), "usable");
        QTEST(list.draw(r), "word");
    }
};

QTEST_GUILESS_MAIN(TestWordList)
#include "tst_word_list.moc"
