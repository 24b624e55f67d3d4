#include "game/course/CourseKeys.h"

#include "game/course/LetterWeights.h"
#include "platform/Windows1252.h"

#include <algorithm>

namespace {

// The accented letters of French that the course may bring in, when the layout makes them.
const QString kAccented = QStringLiteral("ÉÈÊËÀÂÇÎÏÔÙÛÜ");

CourseKey keyAt(const Keyboard &keyboard, QChar character)
{
    const KeyPlace place = keyboard.place(character);
    const Key *key = keyboard.key(place.row, place.column);
    return {character, place, key ? CourseKeys::finger(key->name) : QString()};
}

// The most frequent first, then in alphabetical order.
void sortByWeight(QList<QChar> &characters, const LetterWeights &weights)
{
    std::stable_sort(characters.begin(), characters.end(), [&weights](QChar a, QChar b) {
        if (weights.letter(a) != weights.letter(b))
            return weights.letter(a) > weights.letter(b);
        return a < b;
    });
}

} // namespace

namespace CourseKeys {

QString finger(const QString &keyName)
{
    if (keyName == QLatin1String("SPCE"))
        return QStringLiteral("pouce");
    if (keyName == QLatin1String("TLDE") || keyName == QLatin1String("LSGT"))
        return QStringLiteral("auriculaire gauche");
    if (keyName == QLatin1String("BKSL"))
        return QStringLiteral("auriculaire droit");
    bool ok = false;
    const int column = keyName.mid(2).toInt(&ok);
    if (keyName.size() != 4 || !keyName.startsWith(QLatin1Char('A')) || !ok || column < 1)
        return QString();
    // The columns of a touch typist's hands: 1 to 5 the left hand, 6 and on the right.
    static const char *const kFingers[] = {"auriculaire gauche", "annulaire gauche", "majeur gauche",
                                           "index gauche", "index gauche", "index droit", "index droit",
                                           "majeur droit", "annulaire droit"};
    return QString::fromUtf8(column <= 9 ? kFingers[column - 1] : "auriculaire droit");
}

QList<CourseKey> order(const Keyboard &keyboard, const LetterWeights &weights)
{
    QList<CourseKey> out;
    auto taken = [&out](QChar c) {
        return std::any_of(out.cbegin(), out.cend(), [c](const CourseKey &k) { return k.character == c; });
    };
    for (const char *name : {"AC01", "AC02", "AC03", "AC04", "AC07", "AC08", "AC09", "AC10"}) {
        for (const QList<Key> &row : keyboard.rows) {
            for (const Key &key : row) {
                if (key.name != QLatin1String(name) || key.levels.isEmpty() || key.levels.first().isDead())
                    continue;
                const QString typed = key.levels.first().text;
                if (typed.size() == 1 && typed.at(0).isPrint() && !typed.at(0).isSpace()
                    && !taken(Windows1252::toUpper(typed.at(0))))
                    out << keyAt(keyboard, Windows1252::toUpper(typed.at(0)));
            }
        }
    }
    QList<QChar> letters, direct, dead;
    for (char16_t c = u'A'; c <= u'Z'; ++c) {
        if (!taken(QChar(c)) && keyboard.place(QChar(c)).isValid())
            letters << QChar(c);
    }
    for (QChar c : kAccented) {
        const KeyPlace place = keyboard.place(c);
        if (taken(c) || !place.isValid())
            continue;
        // A key typing the letter itself, or a dead key over its plain letter.
        (place.deadRow < 0 && Windows1252::toUpper(keyboard.key(place.row, place.column)->levels.value(place.level).text)
                                  == QString(c)
             ? direct
             : dead)
            << c;
    }
    for (QList<QChar> *group : {&letters, &direct, &dead}) {
        sortByWeight(*group, weights);
        for (QChar c : *group)
            out << keyAt(keyboard, c);
    }
    return out;
}

} // namespace CourseKeys
