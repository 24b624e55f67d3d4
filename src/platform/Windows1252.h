#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// Text as the record files and the word list hold it: one windows-1252 byte per character.
// Case conversion stays inside that code page, one character at a time.
namespace Windows1252 {

// One byte per character; a character the code page cannot hold (one code point, even
// outside the basic plane) becomes "?".
QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

// The text as it reads back after being stored: unrepresentable characters become "?".
QString storable(const QString &text);

bool representable(QChar c);

// The other case of c when it exists as one character of the code page, else c itself:
// "é" <-> "É", "ÿ" <-> "Ÿ", "œ" <-> "Œ"; "ß" and "µ" stay as they are.
QChar toUpper(QChar c);
QChar toLower(QChar c);
QString toUpper(const QString &text);
QString toLower(const QString &text);

// The first character in upper case and all the others in lower case, as names are shown.
// A first character outside the code page takes its Unicode capital ("ł" -> "Ł"), since
// what is stored for it is "?" either way; the others follow the code page's rules.
QString initialCapital(const QString &text);

} // namespace Windows1252
