#pragma once

#include "game/progress/HistoryRows.h"
#include "game/keyboard/Keyboard.h"

#include <QList>
#include <QString>
#include <QStringList>

// The error rate of each key of a keyboard: the wrong keys typed while one of the key's
// characters was due, over the times one of them was due. A character counts on the key
// Keyboard::place gives it; a letter with an accent made with a dead key counts on its
// plain letter, since the dead key only prepares it. Characters no key makes are left off
// the map but still counted in the list of the most missed characters.
namespace KeyboardMap {

struct KeyFigures
{
    QString label;
    qint64 expected = 0;
    qint64 wrong = 0;
    // wrong / expected, or a negative number when the key was never due.
    double rate() const { return expected > 0 ? double(wrong) / double(expected) : -1.0; }
};

// The figures of every key of the keyboard, row after row from the top.
QList<KeyFigures> keyFigures(const Keyboard &keyboard, const QList<CharacterCount> &counts);

// "E : 12 fautes sur 340 (3,5 %)", or "E : jamais demandé".
QString describe(const QString &name, qint64 wrong, qint64 expected);
QString tooltip(const KeyFigures &key);

// The `count` characters with the most wrong keys (then the highest rate), one line each
// as describe() words it; none when there was no wrong key.
QStringList mostMissed(const QList<CharacterCount> &counts, int count = 5);

} // namespace KeyboardMap
