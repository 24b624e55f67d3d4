// Guards the one-byte text of the files: windows-1252 round trips, "?" for what the code
// page lacks, case rules one character at a time, initial capitals, and the name and number
// fields.
#include "platform/RecordText.h"
#include "platform/Windows1252.h"

#include <QtTest>

class TestText : public QObject
{
    Q_OBJECT

private slots:
    // Every byte decodes to one character and back; every character of the basic plane
    // keeps its case rules inside the code page, and those outside it stay as they are.
    void everyByteAndCharacter()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Windows1252::decode(all);
        QCOMPARE(text.mid(0x80, 1) + text.mid(0x9C, 1) + text.mid(0xE9, 1) + QString::number(text.size()), "€œé256");
        QCOMPARE(Windows1252::encode(text), all);
        for (int u = 0; u < 0x10000; ++u) {
            const QChar c(u), upper = Windows1252::toUpper(c), lower = Windows1252::toLower(c);
            const bool in = Windows1252::representable(c);
            QVERIFY2(Windows1252::representable(upper) == in && Windows1252::representable(lower) == in, qPrintable(QString::number(u, 16)));
            QVERIFY2(in || (upper == c && lower == c && Windows1252::storable(QString(c)) == "?"), qPrintable(QString::number(u, 16)));
            QVERIFY2((upper == c || Windows1252::toLower(upper) == c) && (lower == c || Windows1252::toUpper(lower) == c), qPrintable(QString::number(u, 16)));
            QVERIFY2(Windows1252::toUpper(upper) == upper && Windows1252::toLower(lower) == lower, qPrintable(QString::number(u, 16)));
        }
    }

    // "text > bytes | upper | lower", the bytes in windows-1252 written as they read.
    void convert()
    {
        for (const QString row : {"éÿœ > éÿœ | ÉŸŒ | éÿœ", "ÉŸŒ > ÉŸŒ | ÉŸŒ | éÿœ", "ßµ > ßµ | ßµ | ßµ", "Łó > ?ó | ŁÓ | Łó",
                                  "a\U0001F600b > a?b | A\U0001F600B | a\U0001F600b", "\u0080 > ? | \u0080 | \u0080"}) {
            const QString text = row.section(" > ", 0, 0);
            QCOMPARE(Windows1252::decode(Windows1252::encode(text)) + " | " + Windows1252::toUpper(text) + " | " + Windows1252::toLower(text),
                     row.section(" > ", 1));
        }
    }

    // "typed > shown | stored": what is stored, and so compared, is the same for the typed
    // and the shown name. "#" is a leading U+FEFF, a character like any other.
    void initialCapital()
    {
        for (const QString row : {"éLODIE > Élodie | Élodie", "ÿŒ > Ÿœ | Ÿœ", "ßA > ßa | ßa", "łukasz > Łukasz | ?ukasz",
                                  "дМИТРИЙ > ДМИТРИЙ | ???????", "ωμέγα > Ωμέγα | ?????", "\U00010428x > \U00010400x | ?x",
                                  "#ab > #ab | ?ab", "\U0001F600 > \U0001F600 | ?"}) {
            const QString typed = row.section(" > ", 0, 0).replace(u'#', QChar(0xFEFF)), shown = row.section(" > ", 1).section(" | ", 0, 0).replace(u'#', QChar(0xFEFF));
            QCOMPARE(Windows1252::initialCapital(typed), shown);
            QCOMPARE(Windows1252::initialCapital(shown), shown);
            QCOMPARE(Windows1252::decode(Windows1252::encode(shown)), row.section(" | ", 1));
            QCOMPARE(Windows1252::encode(Windows1252::initialCapital(typed.toLower())), Windows1252::encode(shown));
        }
        QCOMPARE(Windows1252::initialCapital(QString(QChar(0xD801))), QString(QChar(0xD801))); // a lone surrogate stays
        QCOMPARE(Windows1252::encode(QString(QChar(0xD801))), QByteArray("?"));
    }

    void fields()
    {
        QCOMPARE(FitName("\U0001F600BCDEFGHIJKLMNOP"), "?BCDEFGHIJKLMNO");
        QCOMPARE(FitName("Zoé"), "Zoé            ");
        QCOMPARE(PaddedNumber(0) + PaddedNumber(40000) + PaddedNumber(-5), " 0 40000-5");
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
