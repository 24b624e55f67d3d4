#include "game/keyboard/Keyboard.h"

const QList<QList<PhysicalKey>> &physicalRows()
{
    // The rows of an ISO keyboard between the function keys and the space bar, from the
    // key left of "1" down to the key right of the left Shift; then the space bar.
    static const QList<QList<PhysicalKey>> rows{
        {{"TLDE", 1}, {"AE01", 1}, {"AE02", 1}, {"AE03", 1}, {"AE04", 1}, {"AE05", 1}, {"AE06", 1},
         {"AE07", 1}, {"AE08", 1}, {"AE09", 1}, {"AE10", 1}, {"AE11", 1}, {"AE12", 1}},
        {{"AD01", 1}, {"AD02", 1}, {"AD03", 1}, {"AD04", 1}, {"AD05", 1}, {"AD06", 1}, {"AD07", 1},
         {"AD08", 1}, {"AD09", 1}, {"AD10", 1}, {"AD11", 1}, {"AD12", 1}},
        {{"AC01", 1}, {"AC02", 1}, {"AC03", 1}, {"AC04", 1}, {"AC05", 1}, {"AC06", 1}, {"AC07", 1},
         {"AC08", 1}, {"AC09", 1}, {"AC10", 1}, {"AC11", 1}, {"BKSL", 1}},
        {{"LSGT", 1}, {"AB01", 1}, {"AB02", 1}, {"AB03", 1}, {"AB04", 1}, {"AB05", 1}, {"AB06", 1},
         {"AB07", 1}, {"AB08", 1}, {"AB09", 1}, {"AB10", 1}},
        {{"SPCE", 6}},
    };
    return rows;
}

QString Key::label() const
{
    if (name == QLatin1String("SPCE"))
        return QStringLiteral("Espace");
    if (levels.isEmpty())
        return QString();
    const QString plain = levels.first().text;
    // A letter key prints its capital, as keyboards do.
    if (plain.size() == 1 && plain.at(0).isLower() && levels.size() > 1 && levels.at(1).text == plain.toUpper())
        return plain.toUpper();
    return plain;
}

const Key *Keyboard::key(int row, int column) const
{
    if (row < 0 || row >= rows.size() || column < 0 || column >= rows.at(row).size())
        return nullptr;
    return &rows.at(row).at(column);
}

KeyPlace Keyboard::direct(const QString &text) const
{
    // The game upper-cases what is typed, so the key typing the lower case counts as well;
    // the lowest level wins (the plain "e" rather than the shifted "E").
    const QString lower = text.toLower();
    KeyPlace best;
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c) {
            const QList<KeySymbol> &levels = rows.at(r).at(c).levels;
            for (int l = 0; l < levels.size(); ++l) {
                const KeySymbol &s = levels.at(l);
                if (s.isDead() || (s.text != text && s.text != lower))
                    continue;
                if (!best.isValid() || l < best.level)
                    best = {r, c, l};
                break;
            }
        }
    }
    return best;
}

KeyPlace Keyboard::place(QChar character) const
{
    const QString text(character);
    KeyPlace found = direct(text);
    if (found.isValid())
        return found;
    // A letter and one accent: "Ê" is "E" then U+0302, made with the dead circumflex. So
    // "ê" counts on E on the French, Belgian and Canadian keyboards (dead circumflex right
    // of P) and on the Swiss French one (dead circumflex left of Backspace), where no key
    // types it; on BÉPO (the key right of the left Shift) and on the AFNOR AZERTY (the
    // "4" key) a key types it directly, and that key counts it.
    const QString parts = text.normalized(QString::NormalizationForm_D);
    if (parts.size() != 2)
        return {};
    found = direct(parts.left(1));
    if (!found.isValid())
        return {};
    KeyPlace dead;
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c) {
            const QList<KeySymbol> &levels = rows.at(r).at(c).levels;
            for (int l = 0; l < levels.size(); ++l) {
                if (levels.at(l).accent == parts.at(1) && (dead.deadRow < 0 || l < dead.deadLevel)) {
                    dead.deadRow = r;
                    dead.deadColumn = c;
                    dead.deadLevel = l;
                }
            }
        }
    }
    if (dead.deadRow < 0)
        return {};
    found.deadRow = dead.deadRow;
    found.deadColumn = dead.deadColumn;
    found.deadLevel = dead.deadLevel;
    return found;
}
