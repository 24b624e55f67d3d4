// Guards the one-byte text of the files: windows-1252 round trips, "?" for what the code
// page lacks, case rules inside the code page, and the name and number fields.

#include "platform/RecordText.h"
#include "platform/Windows1252.h"

#include <QtTest>

class TestText : public QObject
{
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void caseOfOneCharacter_data();
    void caseOfOneCharacter();
    void caseStaysInsideCodePage();
    void caseOfText_data();
    void caseOfText();
    void fitName_data();
    void fitName();
    void paddedNumber_data();
    void paddedNumber();
};

void TestText::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = Windows1252::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(Windows1252::encode(text), all);
    for (QChar c : text)
        QVERIFY2(Windows1252::representable(c), qPrintable(QString::number(c.unicode(), 16)));
}

void TestText::decode_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("codePoint");
    QTest::newRow("NUL") << 0x00 << 0x0000;
    QTest::newRow("A") << 0x41 << 0x0041;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("undefined 0x81 kept") << 0x81 << 0x0081;
    QTest::newRow("ellipsis") << 0x85 << 0x2026;
    QTest::newRow("S caron") << 0x8A << 0x0160;
    QTest::newRow("OE") << 0x8C << 0x0152;
    QTest::newRow("undefined 0x9D kept") << 0x9D << 0x009D;
    QTest::newRow("oe") << 0x9C << 0x0153;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("no-break space") << 0xA0 << 0x00A0;
    QTest::newRow("e acute") << 0xE9 << 0x00E9;
    QTest::newRow("y diaeresis") << 0xFF << 0x00FF;
}

void TestText::decode()
{
    QFETCH(int, byte);
    QFETCH(int, codePoint);
    const QString text = Windows1252::decode(QByteArray(1, char(byte)));
    QCOMPARE(text.size(), 1);
    QCOMPARE(int(text.at(0).unicode()), codePoint);
}

void TestText::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << QStringLiteral("Anne") << QByteArray("Anne");
    QTest::newRow("accents") << QStringLiteral("Éloïse") << QByteArray("\xC9lo\xEFse");
    QTest::newRow("euro and oe") << QStringLiteral("€œ") << QByteArray("\x80\x9C");
    QTest::newRow("Polish letters") << QStringLiteral("Łódź") << QByteArray("?\xF3" "d?");
    QTest::newRow("two ideographs") << QStringLiteral("日本") << QByteArray("??");
    QTest::newRow("emoji is one character") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
    QTest::newRow("two emoji") << QStringLiteral("\U0001F600\U0001F601") << QByteArray("??");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QLatin1Char('x') << QByteArray("?x");
    // U+0080 is a control character, not the euro sign that byte 0x80 stands for.
    QTest::newRow("C1 control without a byte") << QString(QChar(0x0080)) << QByteArray("?");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestText::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Windows1252::encode(text), bytes);
    QCOMPARE(Windows1252::storable(text), Windows1252::decode(bytes));
}

void TestText::caseOfOneCharacter_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::newRow("a") << QStringLiteral("a") << QStringLiteral("A");
    QTest::newRow("é") << QStringLiteral("é") << QStringLiteral("É");
    QTest::newRow("ç") << QStringLiteral("ç") << QStringLiteral("Ç");
    QTest::newRow("ÿ") << QStringLiteral("ÿ") << QStringLiteral("Ÿ");
    QTest::newRow("œ") << QStringLiteral("œ") << QStringLiteral("Œ");
    QTest::newRow("š") << QStringLiteral("š") << QStringLiteral("Š");
    QTest::newRow("ž") << QStringLiteral("ž") << QStringLiteral("Ž");
    QTest::newRow("þ") << QStringLiteral("þ") << QStringLiteral("Þ");
}

void TestText::caseOfOneCharacter()
{
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    const QChar l = lower.at(0);
    const QChar u = upper.at(0);
    QCOMPARE(Windows1252::toUpper(l), u);
    QCOMPARE(Windows1252::toLower(u), l);
    QCOMPARE(Windows1252::toUpper(u), u);
    QCOMPARE(Windows1252::toLower(l), l);
}

void TestText::caseStaysInsideCodePage()
{
    // ß (upper case "SS"), µ (Greek capital mu), ƒ (capital hook f) have no other case
    // in the code page; every converted byte must still be storable.
    for (QChar c : {QChar(0x00DF), QChar(0x00B5), QChar(0x0192), QChar(0x00AA), QChar(0x00BA)}) {
        QCOMPARE(Windows1252::toUpper(c), c);
        QCOMPARE(Windows1252::toLower(c), c);
    }
    for (int b = 0; b < 256; ++b) {
        const QChar c = Windows1252::decode(QByteArray(1, char(b))).at(0);
        QVERIFY2(Windows1252::representable(Windows1252::toUpper(c)), qPrintable(QString::number(b)));
        QVERIFY2(Windows1252::representable(Windows1252::toLower(c)), qPrintable(QString::number(b)));
    }
}

void TestText::caseOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::newRow("word") << QStringLiteral("été") << QStringLiteral("ÉTÉ") << QStringLiteral("été");
    QTest::newRow("ß stays one character") << QStringLiteral("Straße") << QStringLiteral("STRAßE")
                                          << QStringLiteral("straße");
    QTest::newRow("µ") << QStringLiteral("µm") << QStringLiteral("µM") << QStringLiteral("µm");
    QTest::newRow("mixed") << QStringLiteral("Œuvre d'Ÿves") << QStringLiteral("ŒUVRE D'ŸVES")
                           << QStringLiteral("œuvre d'ÿves");
    QTest::newRow("outside the code page untouched") << QStringLiteral("ł\U0001F600")
                                                     << QStringLiteral("ł\U0001F600")
                                                     << QStringLiteral("ł\U0001F600");
}

void TestText::caseOfText()
{
    QFETCH(QString, text);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QCOMPARE(Windows1252::toUpper(text), upper);
    QCOMPARE(Windows1252::toLower(text), lower);
}

void TestText::fitName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field");
    QTest::newRow("short") << QStringLiteral("Anne") << QStringLiteral("Anne           ");
    QTest::newRow("empty") << QString() << QStringLiteral("               ");
    QTest::newRow("exactly 15") << QStringLiteral("Marie-Christine") << QStringLiteral("Marie-Christine");
    QTest::newRow("cut after 15") << QStringLiteral("Marie-Christiane") << QStringLiteral("Marie-Christian");
    QTest::newRow("accents") << QStringLiteral("Éléonore-Joséphine") << QStringLiteral("Éléonore-Joséph");
    QTest::newRow("trailing spaces") << QStringLiteral("Paul   ") << QStringLiteral("Paul           ");
    QTest::newRow("letter outside the code page") << QStringLiteral("Łukasz") << QStringLiteral("?ukasz         ");
    // An emoji is two UTF-16 units but one character, hence one "?".
    QTest::newRow("emoji as 15th character") << QStringLiteral("ABCDEFGHIJKLMN\U0001F600Z")
                                             << QStringLiteral("ABCDEFGHIJKLMN?");
    QTest::newRow("emoji counts once before the cut") << QStringLiteral("\U0001F600BCDEFGHIJKLMNOP")
                                                      << QStringLiteral("?BCDEFGHIJKLMNO");
    QTest::newRow("emoji then letters") << QStringLiteral("\U0001F600Zoé") << QStringLiteral("?Zoé           ");
}

void TestText::fitName()
{
    QFETCH(QString, name);
    QFETCH(QString, field);
    const QString fitted = FitName(name);
    QCOMPARE(fitted, field);
    // What is stored reads back as the same key, so the same spelling finds it again.
    const QByteArray stored = Windows1252::encode(fitted);
    QCOMPARE(stored.size(), kNameLength);
    QCOMPARE(Windows1252::decode(stored), FitName(name));
    QCOMPARE(FitName(fitted), fitted);
}

void TestText::paddedNumber_data()
{
    QTest::addColumn<qint64>("n");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << QStringLiteral(" 0");
    QTest::newRow("unset") << qint64(9999) << QStringLiteral(" 9999");
    QTest::newRow("negative") << qint64(-5) << QStringLiteral("-5");
    QTest::newRow("one") << qint64(1) << QStringLiteral(" 1");
    QTest::newRow("16-bit low end") << qint64(-32768) << QStringLiteral("-32768");
    QTest::newRow("above 16 bits") << qint64(40000) << QStringLiteral(" 40000");
}

void TestText::paddedNumber()
{
    QFETCH(qint64, n);
    QFETCH(QString, text);
    QCOMPARE(PaddedNumber(n), text);
}

QTEST_MAIN(TestText)
#include "tst_text.moc"
