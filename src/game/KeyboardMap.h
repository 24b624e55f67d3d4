#pragma once

#include "game/HistoryRecords.h"

#include <QList>
#include <QString>
#include <QStringList>

// The French AZERTY keyboard as the progression window draws it, and the error rate of
// each key: the wrong keys typed while one of the key's characters was due, over the
// times one of them was due.
//
// A character counts on the key that types it without a dead key: É on "é", È on "è", À
// on "à", Ç on "ç", Ù on "ù", a digit or a shifted sign on its key. A letter with a
// circumflex or a diaeresis (Â Ê Î Ô Û, Ä Ë Ï Ö Ü Ÿ) counts on its plain letter, since
// the dead key only prepares it. Characters without a key of their own (Œ, Æ...) are
// left off the map but still counted in the list of the most missed characters.
namespace KeyboardMap {

struct Key
{
    QString label;      // as printed on the key
    QString characters; // the characters it counts, as the game compares them (upper case)
    double width = 1;   // in key widths
};

// The four rows of keys from the top, then the space bar alone.
const QList<QList<Key>> &rows();

// The label of the key counting `character`; empty when no key does.
QString keyFor(QChar character);

struct KeyFigures
{
    QString label;
    qint64 expected = 0;
    qint64 wrong = 0;
    // wrong / expected, or a negative number when the key was never due.
    double rate() const { return expected > 0 ? double(wrong) / double(expected) : -1.0; }
};

// The figures of every key, in the order of rows(), top row first.
QList<KeyFigures> keyFigures(const QList<CharacterCount> &counts);

// "E : 12 fautes sur 340 (3,5 %)", or "E : jamais demandé".
QString describe(const QString &name, qint64 wrong, qint64 expected);
QString tooltip(const KeyFigures &key);

// The `count` characters with the most wrong keys (then the highest rate), one line each
// as describe() words it; none when there was no wrong key.
QStringList mostMissed(const QList<CharacterCount> &counts, int count = 5);

} // namespace KeyboardMap
