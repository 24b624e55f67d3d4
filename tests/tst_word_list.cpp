// Guards the word list draw: record Int(n * r + 1) among the whole, typable records only,
// shown in upper case within the code page, and a missing or unusable list drawing nothing.

#include "game/WordList.h"
#include "platform/Windows1252.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// 100 words "a00001" to "a00100", 600 bytes.
QByteArray hundredWords()
{
    QByteArray out;
    for (int i = 1; i <= 100; ++i)
        out += QByteArray("a") + QByteArray::number(i).rightJustified(5, '0');
    return out;
}

const double kJustBelowOne = std::nextafter(1.0, 0.0);

} // namespace

class TestWordList : public QObject
{
    Q_OBJECT

private slots:
    void draw_data();
    void draw();
    void usableCount_data();
    void usableCount();
    void missingFileFailsToOpen();

private:
    QTemporaryDir dir_;
};

void TestWordList::draw_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<double>("r");
    QTest::addColumn<QString>("word");

    QTest::newRow("100 words, r = 0") << hundredWords() << 0.0 << QStringLiteral("A00001");
    QTest::newRow("100 words, r just below 1") << hundredWords() << kJustBelowOne << QStringLiteral("A00100");
    QTest::newRow("100 words, r = 0.5") << hundredWords() << 0.5 << QStringLiteral("A00051");
    QTest::newRow("100 words, r = 0.999") << hundredWords() << 0.999 << QStringLiteral("A00100");
    QTest::newRow("100 words, r = 0.01") << hundredWords() << 0.01 << QStringLiteral("A00002");
    QTest::newRow("partial record never drawn") << hundredWords() + "xyz" << kJustBelowOne
                                                << QStringLiteral("A00100");
    QTest::newRow("one byte short of a record") << QByteArray("abcdefghijk") << kJustBelowOne
                                                << QStringLiteral("ABCDEF");
    QTest::newRow("accents") << QByteArray("\xE9t\xE9" "\xE9t\xE9") << 0.0 << QStringLiteral("ÉTÉÉTÉ");
    QTest::newRow("oe and y diaeresis") << QByteArray("\x9Cuvre\xFF") << 0.0 << QStringLiteral("ŒUVREŸ");
    QTest::newRow("sharp s stays") << QByteArray("stra\xDF" "e") << 0.0 << QStringLiteral("STRAßE");
    QTest::newRow("space is part of the word") << QByteArray("a b cd") << 0.0 << QStringLiteral("A B CD");
    // Record 2 holds a line end and is skipped: the second usable record is record 3.
    QTest::newRow("skips a broken record, first") << QByteArray("abcdefgh\r\nijklmnop") << 0.0
                                                  << QStringLiteral("ABCDEF");
    QTest::newRow("skips a broken record, second") << QByteArray("abcdefgh\r\nijklmnop") << 0.6
                                                   << QStringLiteral("KLMNOP");
    QTest::newRow("skips a broken record, last") << QByteArray("abcdefgh\r\nijklmnop") << kJustBelowOne
                                                 << QStringLiteral("KLMNOP");
}

void TestWordList::draw()
{
    QFETCH(QByteArray, content);
    QFETCH(double, r);
    QFETCH(QString, word);

    const QString path = dir_.filePath(QStringLiteral("clvlet6.txt"));
    writeBytes(path, content);
    WordList list;
    QVERIFY(list.open(path));
    QCOMPARE(list.draw(r), word);
}

void TestWordList::usableCount_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("count");

    QTest::newRow("empty") << QByteArray() << qint64(0);
    QTest::newRow("less than one record") << QByteArray("abcde") << qint64(0);
    QTest::newRow("one word") << QByteArray("abcdef") << qint64(1);
    QTest::newRow("600 bytes") << hundredWords() << qint64(100);
    QTest::newRow("603 bytes") << hundredWords() + "abc" << qint64(100);
    QTest::newRow("saved with CR LF") << QByteArray("abcdef\r\nghijkl\r\nmnopqr\r\n") << qint64(1);
    QTest::newRow("every record broken") << QByteArray("\r\nabcdefgh\r\nij") << qint64(0);
    QTest::newRow("tab") << QByteArray("ab\tdef") << qint64(0);
    QTest::newRow("NUL") << QByteArray("abcde\0", 6) << qint64(0);
    QTest::newRow("DEL") << QByteArray("abcde\x7F") << qint64(0);
    QTest::newRow("undefined byte") << QByteArray("abcde\x81") << qint64(0);
    QTest::newRow("euro sign is typable") << QByteArray("abcde\x80") << qint64(1);
}

void TestWordList::usableCount()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, count);

    const QString path = dir_.filePath(QStringLiteral("count.txt"));
    writeBytes(path, content);
    WordList list;
    QVERIFY(list.open(path));
    QCOMPARE(list.usableCount(), count);
    if (count == 0) {
        // A list without a usable word draws nothing rather than a broken record.
        QCOMPARE(list.draw(0.0), QString());
        QCOMPARE(list.draw(kJustBelowOne), QString());
    } else {
        for (double r : {0.0, 0.25, 0.5, kJustBelowOne}) {
            const QString word = list.draw(r);
            QCOMPARE(word.size(), WordList::kWordLength);
            QVERIFY(WordList::typable(Windows1252::encode(word)));
        }
    }
}

void TestWordList::missingFileFailsToOpen()
{
    const QString path = dir_.filePath(QStringLiteral("missing.txt"));
    WordList list;
    QVERIFY(!list.open(path));
    QVERIFY(!list.isOpen());
    QCOMPARE(list.usableCount(), qint64(0));
    QCOMPARE(list.draw(0.5), QString());
    QVERIFY(!QFile::exists(path));

    // A list that was open and is then replaced by a missing one holds no words.
    const QString present = dir_.filePath(QStringLiteral("present.txt"));
    writeBytes(present, "abcdef");
    QVERIFY(list.open(present));
    QCOMPARE(list.usableCount(), qint64(1));
    QVERIFY(!list.open(path));
    QCOMPARE(list.usableCount(), qint64(0));
    QCOMPARE(list.draw(0.0), QString());
}

QTEST_MAIN(TestWordList)
#include "tst_word_list.moc"
