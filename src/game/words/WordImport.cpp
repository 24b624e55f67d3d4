#include "game/words/WordImport.h"

#include "game/words/WordList.h"
#include "platform/Windows1252.h"

#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <string_view>

namespace {

bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes); // the decoding happens in this conversion
    Q_UNUSED(text)
    return !decoder.hasError();
}

// True for a character that ends a word: a space, or a punctuation mark that typed lists
// and spreadsheet cells put between words.
bool separator(QChar c)
{
    // Straight and typographic double quotes, and the French guillemets; the apostrophe is
    // part of a word ("l'école") and is reported as such.
    static constexpr std::u16string_view kMarks = u",;.\"\u00AB\u00BB\u201C\u201D\u201E";
    return c.isSpace() || kMarks.find(c.unicode()) != std::u16string_view::npos;
}

} // namespace

WordImport::WordImport(const QByteArray &bytes)
{
    // Stateless: a sequence cut short at the end of the file is an error too. The decoder
    // drops a byte order mark at the start.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        problem_ = Problem::InvalidUtf8;
        // The line to look at in the teacher's editor.
        const QList<QByteArray> lines = bytes.split('\n');
        invalidLine_ = 1;
        while (invalidLine_ < lines.size() && isUtf8(lines[invalidLine_ - 1]))
            ++invalidLine_;
        return;
    }
    // Accents typed as a letter followed by a combining accent (as some systems save them)
    // become the one accented letter the keyboard types.
    text = text.normalized(QString::NormalizationForm_C);
    QString word;
    for (QChar c : text) {
        if (separator(c)) {
            if (!word.isEmpty())
                take(word);
            word.clear();
        } else {
            word.append(c);
        }
    }
    if (!word.isEmpty())
        take(word);
    if (kept_.isEmpty() && skipped_.isEmpty())
        problem_ = Problem::NoWord;
}

void WordImport::take(const QString &word)
{
    // A compound or elided word ("porte-clé", "l'école") is not one word the game can show,
    // whatever its length: the teacher is told so rather than shown the character.
    const auto hasAny = [&word](std::u16string_view marks) {
        return std::any_of(word.begin(), word.end(), [marks](QChar c) { return marks.find(c.unicode()) != marks.npos; });
    };
    if (hasAny(u"'\u2019")) {
        skipped_.append({word, Reason::Apostrophe, QString()});
        return;
    }
    if (hasAny(u"-\u2010\u2011")) {
        skipped_.append({word, Reason::Hyphen, QString()});
        return;
    }
    QString lower;
    qsizetype letters = 0;
    for (char32_t c : QStringView(word).toUcs4()) {
        ++letters;
        const char32_t l = QChar::toLower(c);
        if (!keyboardLetter(l)) {
            skipped_.append({word, Reason::Character, QString::fromUcs4(&c, 1)});
            return;
        }
        lower += QString::fromUcs4(&l, 1);
    }
    if (letters != WordList::kWordLength) {
        skipped_.append({word, Reason::Length, QString::number(letters)});
    } else if (keptSet_.contains(lower)) {
        skipped_.append({word, Reason::Duplicate, QString()});
    } else {
        keptSet_.insert(lower);
        kept_.append(lower);
    }
}

QByteArray WordImport::records() const
{
    QByteArray bytes;
    for (const QString &word : kept_)
        bytes += Windows1252::encode(word);
    return bytes;
}

bool WordImport::keyboardLetter(char32_t c)
{
    static constexpr std::u32string_view kAccented = U"àâäçéèêëîïôöùûü";
    return (c >= U'a' && c <= U'z') || kAccented.find(c) != std::u32string_view::npos;
}

QString WordImport::reasonText(const Skipped &skipped)
{
    switch (skipped.reason) {
    case Reason::Length: {
        const int n = skipped.detail.toInt();
        return QStringLiteral("longueur (%1 %2 au lieu de %3)")
            .arg(n)
            .arg(n == 1 ? QStringLiteral("lettre") : QStringLiteral("lettres"))
            .arg(WordList::kWordLength);
    }
    case Reason::Character:
        return QStringLiteral("caractère «\u00A0%1\u00A0» qui ne peut pas être tapé ou enregistré")
            .arg(shown(skipped.detail));
    case Reason::Duplicate:
        return QStringLiteral("doublon");
    case Reason::Apostrophe:
        return QStringLiteral("apostrophe (mot élidé ou composé)");
    case Reason::Hyphen:
        return QStringLiteral("trait d'union (mot composé)");
    }
    return QString();
}

QString WordImport::shown(const QString &text)
{
    constexpr qsizetype kLongest = 30;
    QString out;
    qsizetype count = 0;
    for (char32_t c : QStringView(text).toUcs4()) {
        if (++count > kLongest) {
            out += QChar(0x2026);
            break;
        }
        if (QChar::isPrint(c) && c != 0xFEFF && c != 0x00AD)
            out += QString::fromUcs4(&c, 1);
        else
            out += QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}
