#include "platform/Windows1252.h"

#include <QList>
#include <QStringView>

namespace {

// Code points of the bytes 0x80 to 0x9F. The five bytes the code page leaves undefined
// map to the C1 control of the same value, so that every byte survives a round trip.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int byteFor(uint cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == cp)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace Windows1252 {

QByteArray encode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    const QList<uint> codePoints = QStringView(text).toUcs4();
    for (uint cp : codePoints) {
        const int b = byteFor(cp);
        out.append(b < 0 ? '?' : char(b));
    }
    return out;
}

QString decode(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b >= 0x80 && b < 0xA0 ? QChar(kHigh[b - 0x80]) : QChar(b));
    }
    return out;
}

QString storable(const QString &text)
{
    return decode(encode(text));
}

bool representable(QChar c)
{
    return !c.isSurrogate() && byteFor(c.unicode()) >= 0;
}

QChar toUpper(QChar c)
{
    if (!representable(c))
        return c;
    const QChar u = c.toUpper();
    return representable(u) ? u : c;
}

QChar toLower(QChar c)
{
    if (!representable(c))
        return c;
    const QChar l = c.toLower();
    return representable(l) ? l : c;
}

QString toUpper(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        c = toUpper(c);
    return out;
}

QString toLower(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        c = toLower(c);
    return out;
}

QString initialCapital(const QString &text)
{
    if (text.isEmpty())
        return text;
    // The first character is one code point, which may take two UTF-16 units.
    const qsizetype firstLength = text.at(0).isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate() ? 2 : 1;
    const QString first = text.left(firstLength);
    QString capital;
    if (firstLength == 1 && (representable(first.at(0)) || first.at(0).isSurrogate())) {
        capital = QString(toUpper(first.at(0))); // a lone surrogate stays as it is
    } else {
        // Outside the code page the stored name has "?" here whatever the case, so the
        // shown name may follow Unicode: "łukasz" is greeted as "Łukasz".
        // Built by hand: QString::fromUcs4 would take a leading U+FEFF for a byte-order mark
        // and drop it.
        const char32_t upper = QChar::toUpper(first.toUcs4().value(0));
        if (QChar::requiresSurrogates(upper))
            capital = QString(QChar(QChar::highSurrogate(upper))) + QChar(QChar::lowSurrogate(upper));
        else
            capital = QString(QChar(char16_t(upper)));
    }
    return capital + toLower(text.mid(firstLength));
}

} // namespace Windows1252
