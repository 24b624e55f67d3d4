// Guards the word list draw: record Int(n * r + 1) among the usable records (whole 6-byte
// records whose bytes can all be typed), shown in upper case; nothing from a list without
// usable words.
#include "game/words/WordList.h"
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
        QTest::newRow("r = 0") << hundred << 0.0 << "A00001" << qint64(100);
        QTest::newRow("r just below 1, fragment never drawn") << hundred + "xyz" << belowOne << "A00100" << qint64(100);
        QTest::newRow("r = 0.505, rounded down") << hundred << 0.505 << "A00051" << qint64(100);
        QTest::newRow("upper case with accents") << QByteArray("\xE9t\x9C\xFF\xDF\xB5") << 0.0 << "ÉTŒŸßµ" << qint64(1);
        QTest::newRow("control bytes skipped") << QByteArray("abcdef\r\nghijklmnop") << 0.5 << "KLMNOP" << qint64(2);
        QByteArray untypable; // each record holds one byte that has no key: a control, DEL, a code page gap
        for (const char b : {'\x1F', '\x7F', '\x81', '\x8D', '\x8F', '\x90', '\x9D', '\0'})
            untypable += QByteArray("abcde") + b;
        QTest::newRow("none usable") << untypable << 0.0 << QString() << qint64(0);
        QTest::newRow("the bytes around the gaps are typable") << QByteArray(" \x80\x8E\x9E\xA0\xFF") << 0.0 << " €ŽŽ\u00A0Ÿ"
                                                               << qint64(1);
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
