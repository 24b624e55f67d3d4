#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// A teacher's own word list, read from the text of a file: which of its words the
// six-letter mode can show and the keyboard type, why each of the others is left out, and
// the bytes of the word list made from the kept ones.
class WordImport
{
public:
    enum class Problem { None, InvalidUtf8, NoWord };
    enum class Reason { Length, Character, Duplicate, Apostrophe, Hyphen };

    struct Skipped
    {
        QString word;   // as written in the file
        Reason reason;
        QString detail; // Length: the number of letters; Character: the character
    };

    // Larger files are refused before they are read, so that a wrong file given by
    // mistake (a video, a disk image) is not loaded whole.
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

    // The file's bytes: UTF-8 with or without a byte order mark, in any case. Words are
    // separated by spaces, tabs, line ends (LF or CR LF), commas, semicolons, full stops and
    // quotes, as teachers type a list or paste it from a spreadsheet.
    explicit WordImport(const QByteArray &bytes);

    Problem problem() const { return problem_; }
    // InvalidUtf8: the first line (from 1) that is not UTF-8.
    int invalidLine() const { return invalidLine_; }

    // The kept words in the file's order, in lower case, each once.
    const QStringList &kept() const { return kept_; }
    const QList<Skipped> &skipped() const { return skipped_; }

    // The kept words as the word list stores them: 6-byte windows-1252 records with
    // nothing between them.
    QByteArray records() const;

    // The letters a French keyboard types directly or with a dead key, in lower case:
    // a-z à â ä ç é è ê ë î ï ô ö ù û ü. No œ, æ or ÿ, which have no key.
    static bool keyboardLetter(char32_t c);

    // Why a word was skipped, in French, for the teacher: "doublon", "longueur (5 lettres)".
    static QString reasonText(const Skipped &skipped);

    // Text from the file made safe to print: invisible characters written as U+XXXX, and
    // cut after 30 characters, since the "word" may be a whole line of another file.
    static QString shown(const QString &text);

private:
    void take(const QString &word);

    Problem problem_ = Problem::None;
    int invalidLine_ = 0;
    QStringList kept_;
    // The kept words again, to find a duplicate at once in a file of many thousand words.
    QSet<QString> keptSet_;
    QList<Skipped> skipped_;
};
