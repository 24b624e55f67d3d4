#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The words of the keyboard course, data/lecons.txt: one word of 2 to 8 letters a line,
// windows-1252, the most frequent first, made by tools/make_wordlist.sh with the same
// sources and exclusions as the six-letter list.
namespace CourseWords {

inline QString fileName() { return QStringLiteral("lecons.txt"); }
// The words in upper case, as the game shows them; blank lines are passed over.
QStringList fromText(const QByteArray &text);
// The shipped file; no words when it cannot be read (the course then draws groups).
QStringList load();

} // namespace CourseWords
