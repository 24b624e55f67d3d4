#pragma once

#include <QChar>
#include <QList>
#include <QString>

// A keyboard as the progression map draws it: the physical rows of keys, each with what
// its levels type (plain, Shift, AltGr, Shift+AltGr), read from the layout's own data.
struct KeySymbol
{
    QString text; // what the level types; for a dead key, its accent as printed ("^")
    QChar accent; // for a dead key, the combining accent it puts on the next letter; null otherwise
    bool isDead() const { return !accent.isNull(); }
};

struct Key
{
    QString name;            // the key's place on the keyboard ("AD03"), whatever the layout
    QList<KeySymbol> levels; // index 0 is the plain level
    double width = 1;        // in key widths
    // As printed on the key: a letter in upper case, otherwise what the plain level types.
    QString label() const;
};

// Where a character is typed: the key's row and column in Keyboard::rows, the level, and
// for a character made with a dead key, where that dead key is (row < 0: no dead key).
struct KeyPlace
{
    int row = -1;
    int column = -1;
    int level = -1;
    int deadRow = -1;
    int deadColumn = -1;
    int deadLevel = -1;
    bool isValid() const { return row >= 0; }
    bool operator==(const KeyPlace &) const = default;
};

struct Keyboard
{
    QString layout;          // the rules name it was made from ("fr", "fr(bepo)"); empty: none could be
    QList<QList<Key>> rows;  // the four rows from the digits down, then the space bar alone

    // The key that counts `character` as the game compares it (upper case, so the key that
    // types its lower case counts too). A key that types it, or its lower case, directly
    // wins, at its lowest level; otherwise a letter with an accent that only a dead key
    // makes counts on its plain letter, the dead key telling where the accent comes from.
    // Invalid when no key makes it.
    KeyPlace place(QChar character) const;
    const Key *key(int row, int column) const;

private:
    KeyPlace direct(const QString &text) const;
};

// The keys of the rows the map draws, by their place names, with their widths.
struct PhysicalKey
{
    const char *name;
    double width;
};
const QList<QList<PhysicalKey>> &physicalRows();
