// A teacher's word file holding any bytes: text that is not UTF-8 is refused with the line
// to look at and nothing kept; otherwise every kept word is six keyboard letters in lower
// case, once, stored as a 6-byte record the game can draw, and every skipped word has a
// reason that prints without invisible characters.

#include "FuzzSupport.h"

#include "game/words/WordImport.h"
#include "game/words/WordList.h"
#include "platform/Windows1252.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const WordImport import(bytes);

    if (import.problem() == WordImport::Problem::InvalidUtf8) {
        FUZZ_CHECK(import.kept().isEmpty() && import.skipped().isEmpty());
        FUZZ_CHECK(import.invalidLine() >= 1 && import.invalidLine() <= bytes.count('\n') + 1);
        return 0;
    }
    FUZZ_CHECK((import.problem() == WordImport::Problem::NoWord) == (import.kept().isEmpty() && import.skipped().isEmpty()));

    const QByteArray records = import.records();
    FUZZ_CHECK(records.size() == import.kept().size() * WordList::kWordLength);
    QSet<QString> seen;
    for (qsizetype i = 0; i < import.kept().size(); ++i) {
        const QString &word = import.kept()[i];
        FUZZ_CHECK(word.size() == WordList::kWordLength);
        for (QChar c : word)
            FUZZ_CHECK(WordImport::keyboardLetter(c.unicode()) && c.toLower() == c);
        FUZZ_CHECK(!seen.contains(word));
        seen.insert(word);
        const QByteArray record = records.mid(i * WordList::kWordLength, WordList::kWordLength);
        FUZZ_CHECK(WordList::typable(record) && Windows1252::decode(record) == word);
    }

    for (const WordImport::Skipped &skipped : import.skipped()) {
        const QString reason = WordImport::reasonText(skipped);
        FUZZ_CHECK(!skipped.word.isEmpty() && !reason.isEmpty());
        for (const QString &text : {WordImport::shown(skipped.word), reason})
            for (char32_t c : QStringView(text).toUcs4())
                FUZZ_CHECK(QChar::isPrint(c) && c != 0xFEFF && c != 0x00AD);
    }
    return 0;
}
