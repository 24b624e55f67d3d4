// Windows-1252 text: every byte decodes to one character and encodes back to itself, any
// text encodes to one byte per code point, and the case conversions stay inside the code
// page and settle after one pass.

#include "FuzzSupport.h"

#include "platform/RecordText.h"
#include "platform/Windows1252.h"

#include <algorithm>

namespace {

// Code points as the encoder must count them: a valid surrogate pair is one, a lone
// surrogate is one too.
qsizetype codePointCount(const QString &text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++n) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    return n;
}

bool allRepresentable(const QString &text)
{
    return std::all_of(text.begin(), text.end(), Windows1252::representable);
}

void checkBytes(const QByteArray &bytes)
{
    const QString text = Windows1252::decode(bytes);
    FUZZ_CHECK(text.size() == bytes.size());
    FUZZ_CHECK(allRepresentable(text));
    FUZZ_CHECK(Windows1252::encode(text) == bytes);
    FUZZ_CHECK(Windows1252::storable(text) == text);
}

void checkText(const QString &text)
{
    const QByteArray bytes = Windows1252::encode(text);
    FUZZ_CHECK(bytes.size() == codePointCount(text));

    const QString stored = Windows1252::storable(text);
    FUZZ_CHECK(stored.size() == bytes.size());
    FUZZ_CHECK(allRepresentable(stored));
    FUZZ_CHECK(Windows1252::storable(stored) == stored);
    // What the code page holds is kept; only the rest turns into "?".
    if (allRepresentable(text))
        FUZZ_CHECK(stored == text);

    const QString upper = Windows1252::toUpper(text);
    const QString lower = Windows1252::toLower(text);
    FUZZ_CHECK(upper.size() == text.size() && lower.size() == text.size());
    FUZZ_CHECK(Windows1252::toUpper(upper) == upper);
    FUZZ_CHECK(Windows1252::toLower(lower) == lower);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // Case changes neither bring a character into the code page nor take one out.
        FUZZ_CHECK(Windows1252::representable(upper[i]) == Windows1252::representable(c));
        FUZZ_CHECK(Windows1252::representable(lower[i]) == Windows1252::representable(c));
        if (!Windows1252::representable(c)) {
            FUZZ_CHECK(upper[i] == c && lower[i] == c);
        } else {
            // A letter that has an upper-case form comes back from it unchanged.
            if (upper[i] != c)
                FUZZ_CHECK(Windows1252::toLower(upper[i]) == c);
            if (lower[i] != c)
                FUZZ_CHECK(Windows1252::toUpper(lower[i]) == c);
        }
    }

    const QString shown = Windows1252::initialCapital(text);
    FUZZ_CHECK(shown.size() == text.size());
    FUZZ_CHECK(Windows1252::initialCapital(shown) == shown);
    FUZZ_CHECK(Windows1252::initialCapital(upper) == shown);
    FUZZ_CHECK(Windows1252::initialCapital(lower) == shown);
    if (!text.isEmpty())
        FUZZ_CHECK(shown.mid(1) == lower.mid(1));

    // The name field: 15 storable characters, the stored text first, spaces after it.
    const QString field = FitName(text);
    FUZZ_CHECK(field.size() == kNameLength);
    FUZZ_CHECK(allRepresentable(field));
    FUZZ_CHECK(field.startsWith(stored.left(kNameLength)));
    for (qsizetype i = stored.size(); i < kNameLength; ++i)
        FUZZ_CHECK(field[i] == QLatin1Char(' '));
    FUZZ_CHECK(FitName(field) == field);
    FUZZ_CHECK(Windows1252::encode(field).size() == kNameLength);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkBytes(bytes);
    checkText(QString::fromUtf8(bytes));
    // The same bytes read as UTF-16 bring lone surrogates and characters off the basic plane.
    checkText(QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2));
    checkText(Windows1252::decode(bytes));
    return 0;
}
