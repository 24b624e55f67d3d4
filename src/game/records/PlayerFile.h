#pragma once

#include "platform/EntryFile.h"
#include "game/records/PlayerEntry.h"

#include <QList>

// The record file of one mode ("clvfic1.txt" or "clvfic6.txt"), 19-byte entries.
class PlayerFile
{
public:
    static QString fileNameFor(int gameMode);

    // Opens for reading and writing, creating the file empty when missing.
    bool open(const QString &path);
    // Opens for reading only; a missing file stays missing and the open fails.
    bool openReadOnly(const QString &path);
    void close();
    bool isOpen() const;
    QString path() const;
    QString errorString() const;

    qint64 length() const;
    // Number of entries as a real number: the length in bytes / 19, not rounded.
    double entryCount() const;
    // Number of player entries: entryCount() - 2.
    double playerCount() const;

    PlayerEntry read(qint64 k) const;
    // Records k to k + count - 1, read in one go.
    QList<PlayerEntry> read(qint64 k, qint64 count) const;
    bool write(qint64 k, const PlayerEntry &entry);

    // The underlying file, for locking it.
    const EntryFile &entryFile() const { return file_; }

private:
    EntryFile file_;
};
