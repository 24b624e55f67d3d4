#pragma once

#include <QByteArray>
#include <QChar>
#include <QHash>
#include <QString>

// How often French letters, and pairs of letters one after the other in a word, are met in
// speech, in parts per million, as tools/make_wordlist.sh writes them into
// data/frequences.txt ("E 174966", "ES 38206"), in upper case as the game shows them. A
// letter or pair the file does not hold weighs nothing.
class LetterWeights
{
public:
    static QString fileName() { return QStringLiteral("frequences.txt"); }

    // The weights of the file's windows-1252 text; lines that are not "text number" are
    // passed over, so a damaged file gives fewer weights, never an error.
    static LetterWeights fromText(const QByteArray &text);
    // The shipped file, found like the other data files; no weights when it cannot be read.
    static LetterWeights load();

    double letter(QChar c) const { return letters_.value(c); }
    double pair(QChar first, QChar second) const { return pairs_.value(pairKey(first, second)); }
    bool isEmpty() const { return letters_.isEmpty(); }

private:
    // Two characters in one number, so that a lookup makes no string.
    static quint32 pairKey(QChar first, QChar second) { return quint32(first.unicode()) << 16 | second.unicode(); }

    QHash<QChar, double> letters_;
    QHash<quint32, double> pairs_;
};
