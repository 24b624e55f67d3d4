// Guards the word lists: the draw among a list's usable records, a teacher's list (kept,
// lowered, stored, or skipped and why), and the shipped list, fit for children.
#include "game/words/WordImport.h"
#include "game/words/WordList.h"
#include "platform/DataPaths.h"
#include "platform/Windows1252.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QtTest>

#include <cmath>

// A file of the source tree, path relative to its root, as UTF-8 lines trimmed.
static QStringList sourceLines(const QString &path)
{
    QFile file(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR "/..")).filePath(path));
    QStringList lines;
    if (file.open(QIODevice::ReadOnly))
        for (const QString &line : QString::fromUtf8(file.readAll()).normalized(QString::NormalizationForm_C).split(u'\n'))
            lines << line.trimmed();
    return lines;
}

class TestWords : public QObject
{
    Q_OBJECT

private slots:
    // "file > r: word drawn, usable records"; "hundred" is "a00001" to "a00100".
    void listsReadImportedAndShipped()
    {
        QByteArray hundred;
        for (int i = 1; i <= 100; ++i)
            hundred += "a" + QByteArray::number(i).rightJustified(5, '0');
        // Each record of `untypable` holds one byte that has no key: a control, DEL, a code page gap.
        const QByteArray untypable("abcde\x1F" "abcde\x7F" "abcde\x81" "abcde\x8D"
                                   "abcde\x8F" "abcde\x90" "abcde\x9D" "abcde\0", 48);
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
        // "file bytes > words kept | words skipped, '/' between them | problem: the line of the
        // bytes that are not UTF-8 or 'none' when no word". A skipped "word:c" is one holding the
        // character c, which cannot be typed or stored.
        const QList<std::pair<QByteArray, QString>> imports = {
            {"  maison \t\tjardin\xC2\xA0" "cahier\n\nbureau", "maison jardin cahier bureau |  | "},
            {"\xEF\xBB\xBFmaison\r\njardin\r\n", "maison jardin |  | "},
            {"MAISON \xC3\x89l\xC3\xA8ves GAR\xC3\x87ON", "maison élèves garçon |  | "},
            {"\xC3\x80\xC3\xA2\xC3\xA4\xC3\xA7\xC3\x89\xC3\xA8 \xC3\xAA\xC3\xAB\xC3\xAE\xC3\x8F\xC3\xB4\xC3\xB6 \xC3\xB9\xC3\xBB\xC3\x9C" "abc",
             "àâäçéè êëîïôö ùûüabc |  | "},
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
            {"", " |  | none"}, {"maison\r\n\xE9l\xE8ves\r\n", " |  | 2"},
            {"maison\njardin\nfor\xC3", " |  | 3"}, {"e\xCC\x81le\xCC\x80ves", "élèves |  | "},
            {QByteArray("\xFF\xFEm\0a\0i\0s\0o\0n\0", 14), " |  | 1"},
            {QByteArray(5000, 'x'), " | " + QString(30, u'x') + "…: longueur (5000 lettres au lieu de 6) | "}}; // its start only
        for (const auto &[bytes, expected] : imports) {
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
        }
        // A whole dictionary given by mistake is read well within the test's time limit (a
        // search for duplicates through every word kept so far took over ten minutes).
        QByteArray bytes;
        for (int i = 0; i < 200000; ++i) {
            const char word[7] = {'a', 'a', char('a' + i / 17576), char('a' + i / 676 % 26),
                                  char('a' + i / 26 % 26), char('a' + i % 26), '\n'};
            bytes.append(word, 7);
        }
        const WordImport dictionary(bytes + "aaaaaa\n"); // the first word again
        QVERIFY(dictionary.kept().size() == 200000 && dictionary.skipped().size() == 1);
        // The shipped list, found from any folder, but the working folder first: enough words
        // that a game seldom repeats one, few enough that all are familiar, each stored as a
        // teacher's list would be (kept whole by the import). None of the words kept out: the
        // public list of French insults (the version the list was made with) less the words the
        // list's script spares for their innocent meaning (its "word": "reason" table), the
        // project's own exclusions for children, and verb forms that read oddly alone.
        ScratchFolder folder;
        const QString shipped = locateDataFile(WordList::fileName());
        WordList list;
        QFile file(shipped);
        QVERIFY(QFileInfo(shipped).isAbsolute() && list.open(shipped) && file.open(QIODevice::ReadOnly));
        const QStringList words = Windows1252::toLower(list.words().join(u' ')).split(u' ');
        QVERIFY2(words.size() >= 1500 && words.size() <= 2000, qPrintable(QString::number(words.size())));
        QCOMPARE(Windows1252::decode(file.readAll()), words.join(QString()));
        QCOMPARE(WordImport(words.join(u'\n').toUtf8()).kept(), words);
        folder.write(WordList::fileName(), QByteArray("maison"));
        QCOMPARE(locateDataFile(WordList::fileName()), WordList::fileName());

        QSet<QString> innocent;
        bool inTable = false;
        for (const QString &line : sourceLines("tools/make_wordlist.sh")) {
            if (line.contains("innocent-words-"))
                inTable = line.contains("begin");
            else if (inTable && line.startsWith(u'"'))
                innocent << line.section(u'"', 1, 1);
        }
        QVERIFY(innocent.size() > 2);
        for (const auto &[path, spared] : {std::pair{"tests/data/french-badwords/list.txt", innocent}, {"data/wordlist-exclusions.txt", {}},
                                           {"tests/data/odd-word-forms.txt", {}}}) {
            QSet<QString> unfit;
            for (const QString &line : sourceLines(path))
                if (!line.isEmpty() && !line.startsWith(u'#'))
                    unfit << line.toLower();
            QVERIFY2(unfit.size() > 20, path); // the file was found and read
            QStringList found;
            for (const QString &word : words)
                if (unfit.contains(word) && !spared.contains(word))
                    found << word;
            QVERIFY2(found.isEmpty(), qPrintable(QString(path) + ": " + found.join(u' ')));
        }
    }
};

QTEST_GUILESS_MAIN(TestWords)
#include "tst_words.moc"
