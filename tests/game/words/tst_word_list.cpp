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
    // "file > r: word drawn, usable records"; "hundred" is "a00001" to "a00100".
    void draw()
    {
        QByteArray hundred;
        for (int i = 1; i <= 100; ++i)
            hundred += "a" + QByteArray::number(i).rightJustified(5, '0');
        QByteArray untypable; // each record holds one byte that has no key: a control, DEL, a code page gap
        for (const char b : {'\x1F', '\x7F', '\x81', '\x8D', '\x8F', '\x90', '\x9D', '\0'})
            untypable += QByteArray("abcde") + b;
        const double belowOne = std::nextafter(1.0, 0.0);
        const QList<std::tuple<QByteArray, double, QString, qint64>> rows = {
            {hundred, 0.0, "A00001", 100}, {hundred + "xyz", belowOne, "A00100", 100}, {hundred, 0.505, "A00051", 100},
            {"\xE9t\x9C\xFF\xDF\xB5", 0.0, "ÉTŒŸßµ", 1}, {"abcdef\r\nghijklmnop", 0.5, "KLMNOP", 2}, {untypable, 0.0, "", 0},
            {" \x80\x8E\x9E\xA0\xFF", 0.0, " €ŽŽ\u00A0Ÿ", 1}, {"missing", 0.0, "", 0}};
        for (const auto &[content, r, word, usable] : rows) {
            ScratchFolder folder;
            if (content != "missing")
                folder.write(WordList::fileName(), content);
            WordList list;
            QCOMPARE(list.open(WordList::fileName()), content != "missing");
            QCOMPARE(list.usableCount(), usable);
            QCOMPARE(list.draw(r), word);
        }
    }
};

QTEST_GUILESS_MAIN(TestWordList)
#include "tst_word_list.moc"
