#include "game/KeyboardMap.h"

#include <QHash>
#include <QLocale>

#include <algorithm>

namespace KeyboardMap {

namespace {

const QString kSpace = QStringLiteral("Espace");

QList<QList<Key>> makeRows()
{
    // Each key: its label, then what it types plain and shifted, dead-key letters last.
    return {
        {{"²", "²"}, {"&", "&1"}, {"é", "É2"}, {"\"", "\"3"}, {"'", "'4"}, {"(", "(5"}, {"-", "-6"},
         {"è", "È7"}, {"_", "_8"}, {"ç", "Ç9"}, {"à", "À0"}, {")", ")°"}, {"=", "=+"}},
        {{"A", "AÂÄ"}, {"Z", "Z"}, {"E", "EÊË"}, {"R", "R"}, {"T", "T"}, {"Y", "YŸ"}, {"U", "UÛÜ"},
         {"I", "IÎÏ"}, {"O", "OÔÖ"}, {"P", "P"}, {"^", "^¨"}, {"$", "$£"}},
        {{"Q", "Q"}, {"S", "S"}, {"D", "D"}, {"F", "F"}, {"G", "G"}, {"H", "H"}, {"J", "J"}, {"K", "K"},
         {"L", "L"}, {"M", "M"}, {"ù", "Ù%"}, {"*", "*µ"}},
        {{"<", "<>"}, {"W", "W"}, {"X", "X"}, {"C", "C"}, {"V", "V"}, {"B", "B"}, {"N", "NÑ"}, {",", ",?"},
         {";", ";."}, {":", ":/"}, {"!", "!§"}},
        {{kSpace, " ", 6}},
    };
}

QString nameOf(const QString &character)
{
    return character == QLatin1String(" ") ? kSpace : character;
}

} // namespace

const QList<QList<Key>> &rows()
{
    static const QList<QList<Key>> keys = makeRows();
    return keys;
}

QString keyFor(QChar character)
{
    static const QHash<QChar, QString> byCharacter = [] {
        QHash<QChar, QString> out;
        for (const QList<Key> &row : rows()) {
            for (const Key &key : row) {
                for (QChar c : key.characters)
                    out.insert(c, key.label);
            }
        }
        return out;
    }();
    return byCharacter.value(character);
}

QList<KeyFigures> keyFigures(const QList<CharacterCount> &counts)
{
    QList<KeyFigures> out;
    QHash<QString, qsizetype> at;
    for (const QList<Key> &row : rows()) {
        for (const Key &key : row) {
            at.insert(key.label, out.size());
            out.append({key.label, 0, 0});
        }
    }
    for (const CharacterCount &c : counts) {
        if (c.character.size() != 1)
            continue;
        const auto found = at.constFind(keyFor(c.character.at(0)));
        if (found == at.cend())
            continue;
        out[*found].expected += c.expected;
        out[*found].wrong += c.wrong;
    }
    return out;
}

QString describe(const QString &name, qint64 wrong, qint64 expected)
{
    const QLocale french(QLocale::French, QLocale::France);
    if (expected <= 0 && wrong <= 0)
        return QStringLiteral("%1 : jamais demandé").arg(name);
    // French makes 0 and 1 singular.
    const QString faults = QStringLiteral("%1 %2").arg(french.toString(wrong),
                                                      wrong > 1 ? QStringLiteral("fautes") : QStringLiteral("faute"));
    if (expected <= 0)
        return QStringLiteral("%1 : %2").arg(name, faults);
    const double percent = 100.0 * double(wrong) / double(expected);
    return QStringLiteral("%1 : %2 sur %3 (%4 %)")
        .arg(name, faults, french.toString(expected), french.toString(percent, 'f', 1));
}

QString tooltip(const KeyFigures &key)
{
    return describe(key.label, key.wrong, key.expected);
}

QStringList mostMissed(const QList<CharacterCount> &counts, int count)
{
    QList<CharacterCount> missed;
    for (const CharacterCount &c : counts) {
        if (c.wrong > 0 && !c.character.isEmpty())
            missed.append(c);
    }
    // Most wrong keys first; at equal counts the higher rate (the fewer times due), then
    // the character, so that the order never depends on the query's.
    std::sort(missed.begin(), missed.end(), [](const CharacterCount &a, const CharacterCount &b) {
        if (a.wrong != b.wrong)
            return a.wrong > b.wrong;
        if (a.expected != b.expected)
            return a.expected < b.expected;
        return a.character < b.character;
    });
    QStringList out;
    for (const CharacterCount &c : missed.mid(0, count))
        out << describe(nameOf(c.character), c.wrong, c.expected);
    return out;
}

} // namespace KeyboardMap
