#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

struct FontChoice
{
    QString family;
    QFont::StyleHint hint;
};

FontChoice mappedFamily(const QString &design)
{
    const QString d = design.toLower();
    if (d == QLatin1String("times new roman"))
        return {QStringLiteral("Liberation Serif"), QFont::Serif};
    if (d == QLatin1String("arial narrow"))
        return {QStringLiteral("Liberation Sans Narrow"), QFont::SansSerif};
    if (d == QLatin1String("courier") || d == QLatin1String("courier new"))
        return {QStringLiteral("Liberation Mono"), QFont::Monospace};
    // "MS Sans Serif", "Arial" and anything else: a plain sans-serif face.
    return {QStringLiteral("Liberation Sans"), QFont::SansSerif};
}

} // namespace

QFont designFont(const QString &designFamily, double points, bool bold, bool italic,
                 bool underline)
{
    const FontChoice choice = mappedFamily(designFamily);
    QFont font;
    if (QFontDatabase::families().contains(choice.family))
        font.setFamily(choice.family);
    font.setStyleHint(choice.hint);
    if (choice.hint == QFont::Monospace)
        font.setFixedPitch(true);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}
