#include "game/keyboard/KeyboardMap.h"

#include <QLocale>

#include <algorithm>

namespace KeyboardMap {

namespace {

const QString kSpace = QStringLiteral("Espace");

QString nameOf(const QString &character)
{
    return character == QLatin1String(" ") ? kSpace : character;
}

} // namespace

QList<KeyFigures> keyFigures(const Keyboard &keyboard, const QList<CharacterCount> &counts)
{
    QList<KeyFigures> out;
    QList<qsizetype> rowStart;
    for (const QList<Key> &row : keyboard.rows) {
        rowStart.append(out.size());
        for (const Key &key : row)
            out.append({key.label(), 0, 0});
    }
    for (const CharacterCount &c : counts) {
        if (c.character.size() != 1)
            continue;
        const KeyPlace place = keyboard.place(c.character.at(0));
        if (!place.isValid())
            continue;
        KeyFigures &key = out[rowStart.at(place.row) + place.column];
        key.expected += c.expected;
        key.wrong += c.wrong;
    }
    return out;
}

QString describe(const QString &name, qint64 wrong, qint64 expected)
{
    const QLocale french(QLocale::French, QLocale::France);
    if (expected <= 0 && wrong <= 0)
        return QStringLiteral("%1\u00A0: jamais demandé").arg(name);
    // French makes 0 and 1 singular.
    const QString faults = QStringLiteral("%1 %2").arg(french.toString(wrong),
                                                      wrong > 1 ? QStringLiteral("fautes") : QStringLiteral("faute"));
    if (expected <= 0)
        return QStringLiteral("%1\u00A0: %2").arg(name, faults);
    const double percent = 100.0 * double(wrong) / double(expected);
    return QStringLiteral("%1\u00A0: %2 sur %3 (%4\u00A0%)")
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
