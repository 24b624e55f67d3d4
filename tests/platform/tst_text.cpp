// Guards the one-byte text of the files: windows-1252 round trips, "?" for what the code page lacks, case rules, and the name and number fields.

#include "platform/RecordText.h"
#include "platform/Windows1252.h"

#include <QtTest>

class TestText : public QObject
{
    Q_OBJECT

private slots:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Windows1252::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text.mid(0x80, 1) + text.mid(0x9C, 1) + text.mid(0xE9, 1), QStringLiteral("€œé"));
        QCOMPARE(Windows1252::encode(text), all);
        for (QChar c : text) // a changed case must still be storable
            QVERIFY2(Windows1252::representable(Windows1252::toUpper(c)) && Windows1252::representable(Windows1252::toLower(c)),
                     qPrintable(QString::number(c.unicode(), 16)));
    }

    // Each row: text, its bytes, then upper and lower case of the text.
    void convert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");
        QTest::newRow("é ÿ œ") << QStringLiteral("éÿœ") << QByteArray("\xE9\xFF\x9C") << QStringLiteral("ÉŸŒ") << QStringLiteral("éÿœ");
        QTest::newRow("É Ÿ Œ") << QStringLiteral("ÉŸŒ") << QByteArray("\xC9\x9F\x8C") << QStringLiteral("ÉŸŒ") << QStringLiteral("éÿœ");
        QTest::newRow("ß µ unchanged") << QStringLiteral("ßµ") << QByteArray("\xDF\xB5") << QStringLiteral("ßµ") << QStringLiteral("ßµ");
        QTest::newRow("Polish") << QStringLiteral("Łó") << QByteArray("?\xF3") << QStringLiteral("ŁÓ") << QStringLiteral("Łó");
        QTest::newRow("emoji is one ?") << QStringLiteral("a\U0001F600b") << QByteArray("a?b") << QStringLiteral("A\U0001F600B") << QStringLiteral("a\U0001F600b");
        QTest::newRow("U+0080 has no byte") << QString(QChar(0x80)) << QByteArray("?") << QString(QChar(0x80)) << QString(QChar(0x80));
    }
    void convert()
    {
        QFETCH(QString, text);
        QTEST(Windows1252::encode(text), "bytes");
        QTEST(Windows1252::toUpper(text), "upper");
        QTEST(Windows1252::toLower(text), "lower");
    }

    void initialCapital_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("code page") << QStringLiteral("éLODIE") << QStringLiteral("Élodie") << QByteArray("\xC9lodie");
        QTest::newRow("ÿ and œ") << QStringLiteral("ÿŒ") << QStringLiteral("Ÿœ") << QByteArray("\x9F\x9C");
        QTest::newRow("ß has no one-letter capital") << QStringLiteral("ßA") << QStringLiteral("ßa") << QByteArray("\xDF" "a");
        QTest::newRow("Polish initial") << QStringLiteral("łukasz") << QStringLiteral("Łukasz") << QByteArray("?ukasz");
        QTest::newRow("Cyrillic initial, the rest as typed")
            << QStringLiteral("дМИТРИЙ") << QStringLiteral("ДМИТРИЙ") << QByteArray("???????");
        QTest::newRow("Greek") << QStringLiteral("ωμέγα") << QStringLiteral("Ωμέγα") << QByteArray("?????");
        QTest::newRow("outside the basic plane") << QStringLiteral("\U00010428x") << QStringLiteral("\U00010400x")
                                                 << QByteArray("?x");
        QTest::newRow("a leading U+FEFF is a character like any other")
            << QStringLiteral("\uFEFFab") << QStringLiteral("\uFEFFab") << QByteArray("?ab");
        QTest::newRow("a lone surrogate stays") << QString(QChar(0xD801)) << QString(QChar(0xD801)) << QByteArray("?");
    }
    void initialCapital()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QCOMPARE(Windows1252::initialCapital(typed), shown);
        QCOMPARE(Windows1252::initialCapital(shown), shown);
        // What is stored, and so compared, is the same for the typed and the shown name.
        QTEST(Windows1252::encode(shown), "stored");
        QCOMPARE(Windows1252::encode(Windows1252::initialCapital(typed.toLower())), Windows1252::encode(shown));
    }

    void fields()
    {
        QCOMPARE(FitName(QStringLiteral("\U0001F600BCDEFGHIJKLMNOP")), QStringLiteral("?BCDEFGHIJKLMNO"));
        QCOMPARE(PaddedNumber(0), QStringLiteral(" 0"));
        QCOMPARE(PaddedNumber(40000), QStringLiteral(" 40000"));
        QCOMPARE(PaddedNumber(-5), QStringLiteral("-5"));
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
