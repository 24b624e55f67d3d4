// Guards the data files shipped with the program: a word list of familiar words fit for
// children that the six-letter mode can use whole and the keyboard type, and that the
// program finds them from any folder.

#include "game/session/SoundCues.h"
#include "game/words/WordImport.h"
#include "game/words/WordList.h"
#include "platform/DataPaths.h"
#include "support/TestDoubles.h"
#include "platform/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

static QByteArray shipped(const QString &name)
{
    QFile file(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR)).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file of the source tree, path relative to its root, as UTF-8 lines.
static QStringList sourceLines(const QString &path)
{
    QFile file(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR "/..")).filePath(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).normalized(QString::NormalizationForm_C).split(QLatin1Char('\n'));
}

class TestShippedData : public QObject
{
    Q_OBJECT

private slots:
    void wordList()
    {
        const QByteArray bytes = shipped(WordList::fileName());
        const qsizetype words = bytes.size() / WordList::kWordLength;
        QCOMPARE(bytes.size() % WordList::kWordLength, 0);
        // Enough words that a game seldom repeats one, few enough that all are familiar.
        QVERIFY2(words >= 1500 && words <= 2000, qPrintable(QString::number(words)));
        WordList list;
        QVERIFY(list.open(QDir(QStringLiteral(CLAVIMO_BUILD_DATA_DIR)).filePath(WordList::fileName())));
        QCOMPARE(list.usableCount(), words); // no separators or control bytes in between
        QSet<QString> seen;
        for (qsizetype at = 0; at < bytes.size(); at += WordList::kWordLength) {
            const QString word = Windows1252::decode(bytes.mid(at, WordList::kWordLength));
            const QString shown = Windows1252::toUpper(word);
            // Every letter has its capital in the code page, so a typed key upper-cased matches.
            // Letters the keyboard types, in lower case, as the teacher's lists are stored.
            QVERIFY2(std::all_of(word.begin(), word.end(), [](QChar c) { return WordImport::keyboardLetter(c.unicode()); })
                         && Windows1252::toLower(shown) == word && !seen.contains(shown), qPrintable(word));
            seen.insert(shown);
        }
    }

    // No word of the list is one of the words kept out of it: the public list of French
    // insults and obscenities (a copy of the version the list was made with), less the
    // words the list's script keeps for their common innocent meaning, the project's own
    // exclusions, found by reading the list with children in mind, and verb forms and
    // fragments that read oddly alone.
    void noWordUnfitForChildren()
    {
        for (const auto &[path, innocentFrom] : {std::pair{"tests/data/french-badwords/list.txt", "tools/make_wordlist.sh"},
                                                 {"data/wordlist-exclusions.txt", ""}, {"tests/data/odd-word-forms.txt", ""}})
            checkNoWordFrom(path, innocentFrom);
    }

private:
    void checkNoWordFrom(const QString &path, const QString &innocentFrom)
    {
        QSet<QString> unfit;
        for (const QString &line : sourceLines(path)) {
            if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#')))
                unfit.insert(line.trimmed().toLower());
        }
        QVERIFY2(unfit.size() > 20, qPrintable(path)); // the file was found and read
        // The script's table of innocent words, one "word": "reason" a line between markers.
        QSet<QString> innocent;
        bool inTable = false;
        for (const QString &line : sourceLines(innocentFrom)) {
            if (line.contains(QStringLiteral("innocent-words-")))
                inTable = line.contains(QStringLiteral("begin"));
            const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^\\s*\"([^\"]+)\":")).match(line);
            if (inTable && m.hasMatch())
                innocent.insert(m.captured(1));
        }
        QVERIFY(innocentFrom.isEmpty() || !innocent.isEmpty());
        const QByteArray bytes = shipped(WordList::fileName());
        QStringList found;
        for (qsizetype at = 0; at < bytes.size(); at += WordList::kWordLength) {
            const QString word = Windows1252::decode(bytes.mid(at, WordList::kWordLength));
            if (unfit.contains(word) && !innocent.contains(word))
                found << word;
        }
        QVERIFY2(found.isEmpty(), qPrintable(QString::number(found.size()) + QStringLiteral(": ") + found.join(QLatin1Char(' '))));
    }

private slots:
    void foundFromAnyFolderButTheWorkingFolderFirst()
    {
        ScratchFolder folder;
        const QString shippedList = locateDataFile(WordList::fileName());
        QVERIFY(QFileInfo(shippedList).isAbsolute());
        QCOMPARE(QFileInfo(shippedList).size(), qint64(shipped(WordList::fileName()).size()));
        QVERIFY(QFileInfo::exists(locateDataFile(Cue::Start)));
        folder.write(WordList::fileName(), QByteArray("maison"));
        QCOMPARE(locateDataFile(WordList::fileName()), WordList::fileName());
    }
};

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shipped_data.moc"
