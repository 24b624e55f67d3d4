// Guards the rules of a teacher's word list: which words of a text file are kept, lowered
// and stored as 6-byte windows-1252 records, and why each of the others is skipped.

#include "game/words/WordImport.h"

#include <QtTest>

class TestWordImport : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QByteArray>("records");
        QTest::addColumn<QStringList>("skipped"); // "word: reason" as the teacher reads it
        QTest::addColumn<int>("problem");
        QTest::addColumn<int>("invalidLine");
        const int none = int(WordImport::Problem::None);
        const int noWord = int(WordImport::Problem::NoWord);
        const int invalid = int(WordImport::Problem::InvalidUtf8);
        const QString character = QStringLiteral(": caractère «\u00A0%1\u00A0» qui ne peut pas être tapé ou enregistré");

        QTest::newRow("one word a line") << QByteArray("maison\njardin\n") << QStringList{"maison", "jardin"}
                                         << QByteArray("maisonjardin") << QStringList{} << none << 0;
        QTest::newRow("spaces, tabs, no-break space") << QByteArray("  maison \t\tjardin\xC2\xA0" "cahier\n\nbureau")
                                                       << QStringList{"maison", "jardin", "cahier", "bureau"}
                                                       << QByteArray("maisonjardincahierbureau") << QStringList{} << none << 0;
        QTest::newRow("byte order mark and Windows line ends") << QByteArray("\xEF\xBB\xBFmaison\r\njardin\r\n")
                                                                << QStringList{"maison", "jardin"} << QByteArray("maisonjardin")
                                                                << QStringList{} << none << 0;
        QTest::newRow("capitals lowered") << QByteArray("MAISON \xC3\x89l\xC3\xA8ves GAR\xC3\x87ON")
                                          << QStringList{"maison", "élèves", "garçon"}
                                          << QByteArray("maison\xE9l\xE8vesgar\xE7on") << QStringList{} << none << 0;
        QTest::newRow("every accented letter of the keyboard")
            << QByteArray("\xC3\x80\xC3\xA2\xC3\xA4\xC3\xA7\xC3\x89\xC3\xA8 \xC3\xAA\xC3\xAB\xC3\xAE\xC3\x8F\xC3\xB4\xC3\xB6 "
                          "\xC3\xB9\xC3\xBB\xC3\x9C" "abc")
            << QStringList{"àâäçéè", "êëîïôö", "ùûüabc"}
            << QByteArray("\xE0\xE2\xE4\xE7\xE9\xE8\xEA\xEB\xEE\xEF\xF4\xF6\xF9\xFB\xFC" "abc") << QStringList{} << none << 0;
        QTest::newRow("accents typed as combining marks") << QByteArray("e\xCC\x81le\xCC\x80ves")
                                                          << QStringList{"élèves"} << QByteArray("\xE9l\xE8ves")
                                                          << QStringList{} << none << 0;
        QTest::newRow("other lengths") << QByteArray("chat maisons a élève jardin")
                                       << QStringList{"jardin"} << QByteArray("jardin")
                                       << QStringList{"chat: longueur (4 lettres au lieu de 6)",
                                                      "maisons: longueur (7 lettres au lieu de 6)",
                                                      "a: longueur (1 lettre au lieu de 6)",
                                                      "élève: longueur (5 lettres au lieu de 6)"} << none << 0;
        QTest::newRow("characters outside windows-1252") << QByteArray("\xC3\xA7i\xC4\x9F" "dem chat\xF0\x9F\x98\x80!")
                                                         << QStringList{} << QByteArray()
                                                         << QStringList{"çiğdem" + character.arg("ğ"), "chat😀!" + character.arg("😀")}
                                                         << none << 0;
        QTest::newRow("ligatures and y with diaeresis") << QByteArray("c\xC5\x93urs \xC5\x92UVRES l\xC3\xA6titi ha\xC3\xBFons")
                                                        << QStringList{} << QByteArray()
                                                        << QStringList{"cœurs" + character.arg("œ"), "ŒUVRES" + character.arg("Œ"),
                                                                       "lætiti" + character.arg("æ"), "haÿons" + character.arg("ÿ")}
                                                        << none << 0;
        QTest::newRow("letters of the code page without a key") << QByteArray("stra\xC3\x9F" "e na\xC3\xAFve\xC2\xB5")
                                                                 << QStringList{} << QByteArray()
                                                                 << QStringList{"straße" + character.arg("ß"), "naïveµ" + character.arg("µ")}
                                                                 << none << 0;
        QTest::newRow("apostrophe, hyphen, digit") << QByteArray("l'\xC3\xA9" "cole aujourd\xE2\x80\x99hui porte-cl\xC3\xA9 agent7")
                                                   << QStringList{} << QByteArray()
                                                   << QStringList{"l'école: apostrophe (mot élidé ou composé)",
                                                                  "aujourd’hui: apostrophe (mot élidé ou composé)",
                                                                  "porte-clé: trait d'union (mot composé)", "agent7" + character.arg("7")}
                                                   << none << 0;
        QTest::newRow("commas, semicolons, full stops") << QByteArray("Maison, jardin;\xC3\xA9l\xC3\xA8ves.Cahier.")
                                                        << QStringList{"maison", "jardin", "élèves", "cahier"}
                                                        << QByteArray("maisonjardin\xE9l\xE8vescahier") << QStringList{} << none << 0;
        QTest::newRow("spreadsheet cells, quotes") << QByteArray("\"maison\"\t\"jardin\"\r\n\xC2\xAB\xC2\xA0" "cahier\xC2\xA0\xC2\xBB \xE2\x80\x9C" "bureau\xE2\x80\x9D")
                                                   << QStringList{"maison", "jardin", "cahier", "bureau"}
                                                   << QByteArray("maisonjardincahierbureau") << QStringList{} << none << 0;
        QTest::newRow("control character shown by its code") << QByteArray("mai\0son jardin", 14) << QStringList{"jardin"}
                                                              << QByteArray("jardin")
                                                              << QStringList{"maiU+0000son" + character.arg("U+0000")} << none << 0;
        QTest::newRow("duplicates in any case") << QByteArray("maison Maison jardin MAISON")
                                                << QStringList{"maison", "jardin"} << QByteArray("maisonjardin")
                                                << QStringList{"Maison: doublon", "MAISON: doublon"} << none << 0;
        QTest::newRow("empty file") << QByteArray() << QStringList{} << QByteArray() << QStringList{} << noWord << 0;
        QTest::newRow("blank lines only") << QByteArray("\r\n \t\n") << QStringList{} << QByteArray() << QStringList{}
                                          << noWord << 0;
        QTest::newRow("byte order mark only") << QByteArray("\xEF\xBB\xBF\r\n") << QStringList{} << QByteArray()
                                              << QStringList{} << noWord << 0;
        QTest::newRow("windows-1252 file") << QByteArray("maison\r\n\xE9l\xE8ves\r\n") << QStringList{} << QByteArray()
                                           << QStringList{} << invalid << 2;
        QTest::newRow("sequence cut short at the end") << QByteArray("maison\njardin\nfor\xC3") << QStringList{}
                                                       << QByteArray() << QStringList{} << invalid << 3;
        QTest::newRow("UTF-16 file") << QByteArray("\xFF\xFEm\0a\0i\0s\0o\0n\0", 14) << QStringList{} << QByteArray()
                                     << QStringList{} << invalid << 1;
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        const WordImport words(bytes);
        QTEST(int(words.problem()), "problem");
        QTEST(words.invalidLine(), "invalidLine");
        QTEST(words.kept(), "kept");
        QTEST(words.records(), "records");
        QStringList skipped;
        for (const WordImport::Skipped &s : words.skipped())
            skipped << WordImport::shown(s.word) + QStringLiteral(": ") + WordImport::reasonText(s);
        QTEST(skipped, "skipped");
    }

    // A "word" may be a whole line of some other file: the message shows its start only.
    void longWordCut()
    {
        const WordImport words(QByteArray(5000, 'x'));
        QCOMPARE(words.skipped().size(), 1);
        QCOMPARE(WordImport::shown(words.skipped().constFirst().word), QString(30, QLatin1Char('x')) + QChar(0x2026));
        QCOMPARE(WordImport::reasonText(words.skipped().constFirst()), QStringLiteral("longueur (5000 lettres au lieu de 6)"));
    }

    // A whole dictionary given by mistake (the largest file accepted holds some 600,000
    // words) is read in seconds: looking for a duplicate must not go through every word
    // kept so far, which took over ten minutes.
    void largeFileReadQuickly()
    {
        constexpr int kWords = 200000;
        QByteArray bytes;
        bytes.reserve(kWords * 7);
        for (int i = 0; i < kWords; ++i) {
            char word[7];
            for (int k = 5, n = i; k >= 0; --k, n /= 26)
                word[k] = char('a' + n % 26);
            word[6] = '\n';
            bytes.append(word, 7);
        }
        bytes.append("aaaaaa\n"); // the first word again
        QElapsedTimer timer;
        timer.start();
        const WordImport words(bytes);
        const qint64 ms = timer.elapsed();
        QCOMPARE(words.kept().size(), kWords);
        QCOMPARE(words.skipped().size(), 1);
        QVERIFY2(ms < 15000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
    }
};

QTEST_GUILESS_MAIN(TestWordImport)
#include "tst_word_import.moc"
