#pragma once

#include "game/keyboard/Keyboard.h"

#include <QChar>
#include <QList>
#include <QString>

class LetterWeights;

// One key of the keyboard course: the character it brings in, in upper case as the game
// compares it, where it is typed, and the finger that types it.
struct CourseKey
{
    QChar character;
    KeyPlace place;
    QString finger; // "index gauche"; for a letter made with a dead key, the letter's finger
};

// The order in which a layout's keys are learnt, made from the layout's own data rather
// than from a table per layout:
// 1. the home row, the eight keys under the fingers at rest (AC01-AC04, AC07-AC10), left
//    to right, whatever they type;
// 2. the other letter keys (a plain level typing a to z), the most frequent letter first;
// 3. the accented letters a key types directly (é, è, à, ç...), the most frequent first;
// 4. the accented letters made with a dead key (ê, î, ô, ë...), the most frequent first.
// The frequencies are those of `weights`; ties go in alphabetical order.
namespace CourseKeys {

inline constexpr int kHomeRow = 8;

QList<CourseKey> order(const Keyboard &keyboard, const LetterWeights &weights);

// The finger that types the key of that XKB name: "auriculaire gauche", "annulaire
// gauche", "majeur gauche", "index gauche", their right-hand twins, "pouce" for the space
// bar; empty for a name it does not know.
QString finger(const QString &keyName);

} // namespace CourseKeys
