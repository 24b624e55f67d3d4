// Guards the rules of a teacher's word list: which words of a text file are kept, lowered
// and stored as 6-byte windows-1252 records, and why each of the others is skipped.
#include "game/words/WordImport.h"
#include "platform/Windows1252.h"

#include <QtTest>

class TestWordImport : public QObject
{
    Q_OBJECT

private slots:
    // "file bytes > words kept | words skipped, '/' between them | problem: the line of the
    // bytes that are not UTF-8 or 'none' when no word". A skipped "word:c" is one holding the
    // character c, which cannot be typed or stored.
    void read()
    {
        const QList<std::pair<QByteArray, QString>> rows = {
            {"maison\njardin\n", "maison jardin |  | "},
            {"  maison \t\tjardin\xC2\xA0" "cahier\n\nbureau", "maison jardin cahier bureau |  | "},
            {"\xEF\xBB\xBFmaison\r\njardin\r\n", "maison jardin |  | "},
            {"MAISON \xC3\x89l\xC3\xA8ves GAR\xC3\x87ON", "maison élèves garçon |  | "},
            {"\xC3\x80\xC3\xA2\xC3\xA4\xC3\xA7\xC3\x89\xC3\xA8 \xC3\xAA\xC3\xAB\xC3\xAE\xC3\x8F\xC3\xB4\xC3\xB6 \xC3\xB9\xC3\xBB\xC3\x9C" "abc",
             "àâäçéè êëîïôö ùûüabc |  | "},
            {"e\xCC\x81le\xCC\x80ves", "élèves |  | "},
            {"chat maisons a élève jardin", "jardin | chat: longueur (4 lettres au lieu de 6)/maisons: longueur (7 lettres au lieu de 6)/"
                                            "a: longueur (1 lettre au lieu de 6)/élève: longueur (5 lettres au lieu de 6) | "},
            {"\xC3\xA7i\xC4\x9F" "dem chat\xF0\x9F\x98\x80!", " | çiğdem:ğ/chat😀!:😀 | "},
            {"c\xC5\x93urs \xC5\x92UVRES l\xC3\xA6titi ha\xC3\xBFons", " | cœurs:œ/ŒUVRES:Œ/lætiti:æ/haÿons:ÿ | "},
            {"stra\xC3\x9F" "e na\xC3\xAFve\xC2\xB5", " | straße:ß/naïveµ:µ | "},
            {"l'\xC3\xA9" "cole aujourd\xE2\x80\x99hui porte-cl\xC3\xA9 agent7",
             " | l'école: apostrophe (mot élidé ou composé)/aujourd’hui: apostrophe (mot élidé ou composé)/"
             "porte-clé: trait d'union (mot composé)/agent7:7 | "},
            {"Maison, jardin;\xC3\xA9l\xC3\xA8ves.Cahier.", "maison jardin élèves cahier |  | "},
            {"\"maison\"\t\"jardin\"\r\n\xC2\xAB\xC2\xA0" "cahier\xC2\xA0\xC2\xBB \xE2\x80\x9C" "bureau\xE2\x80\x9D", "maison jardin cahier bureau |  | "},
            {QByteArray("mai\0son jardin", 14), "jardin | maiU+0000son:U+0000 | "},
            {"maison Maison jardin MAISON", "maison jardin | Maison: doublon/MAISON: doublon | "},
            {"", " |  | none"},
            {"\r\n \t\n", " |  | none"},
            {"\xEF\xBB\xBF\r\n", " |  | none"},
            {"maison\r\n\xE9l\xE8ves\r\n", " |  | 2"},
            {"maison\njardin\nfor\xC3", " |  | 3"},
            {QByteArray("\xFF\xFEm\0a\0i\0s\0o\0n\0", 14), " |  | 1"}};
        for (const auto &[bytes, expected] : rows) {
            const WordImport words(bytes);
            QStringList skipped;
            for (const WordImport::Skipped &s : words.skipped())
                skipped << WordImport::shown(s.word) + ": " + WordImport::reasonText(s);
            const QString problem = words.problem() == WordImport::Problem::NoWord        ? "none"
                                    : words.problem() == WordImport::Problem::InvalidUtf8 ? QString::number(words.invalidLine())
                                                                                          : QString();
            QString want = expected;
            want.replace(QRegularExpression(":(\\S+?)(?=/| \\|)"), ": caractère «\u00A0\\1\u00A0» qui ne peut pas être tapé ou enregistré");
            QCOMPARE(words.kept().join(u' ') + " | " + skipped.join(u'/') + " | " + problem, want);
            QCOMPARE(words.records(), Windows1252::encode(words.kept().join(QString())));
        }
    }

    // A "word" may be a whole line of some other file: the message shows its start only. A
    // whole dictionary given by mistake is read in seconds (a search for duplicates through
    // every word kept so far took over ten minutes).
    void longWordsAndLargeFiles()
    {
        const WordImport line(QByteArray(5000, 'x'));
        QCOMPARE(line.skipped().size(), 1);
        QCOMPARE(WordImport::shown(line.skipped().constFirst().word), QString(30, u'x') + QChar(0x2026));
        QCOMPARE(WordImport::reasonText(line.skipped().constFirst()), "longueur (5000 lettres au lieu de 6)");
        QByteArray bytes;
        for (int i = 0; i < 200000; ++i) {
            char word[7] = {0, 0, 0, 0, 0, 0, '\n'};
            for (int k = 5, n = i; k >= 0; --k, n /= 26)
                word[k] = char('a' + n % 26);
            bytes.append(word, 7);
        }
        QElapsedTimer timer;
        timer.start();
        const WordImport words(bytes + "aaaaaa\n"); // the first word again
        QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(words.kept().size() == 200000 && words.skipped().size() == 1);
    }
};

QTEST_GUILESS_MAIN(TestWordImport)
#include "tst_word_import.moc"
