#pragma once

#include "platform/EntryFile.h"

#include <QString>
#include <QStringList>

#include <vector>

// The six-letter mode's word list: 6-byte windows-1252 records with no separators.
// Only whole records whose bytes can all be typed are ever drawn, so that a file saved
// with line ends, or cut short, never leaves the player stuck on an item.
class WordList
{
public:
    static constexpr int kWordLength = 6;
    static QString fileName() { return QStringLiteral("clvlet6.txt"); }

    // Opens read only (a missing file is not created) and indexes the usable records.
    bool open(const QString &path);
    void close();
    bool isOpen() const;

    // Number of records that can be drawn; 0 for a missing or empty list.
    qint64 usableCount() const;

    // The word for a uniform number r in [0, 1), in upper case: record Int(n * r + 1)
    // among the n usable records; empty when there is none.
    QString draw(double r) const;

    // Every usable word in upper case, in the list's order, read at once.
    QStringList words() const;

    static bool typable(const QByteArray &record);

private:
    EntryFile file_;
    qint64 usable_ = 0;
    // Record numbers of the usable records; empty when every whole record is usable.
    std::vector<qint64> index_;
};
