#pragma once

#include "platform/RecordFile.h"
#include "game/records/PlayerRecord.h"

#include <QList>

// The record file of one mode ("clvfic1.txt" or "clvfic6.txt"), 19-byte records.
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
    // Number of records as a real number: the length in bytes / 19, not rounded.
    double recordCount() const;
    // Number of player records: recordCount() - 2.
    double playerCount() const;

    PlayerRecord read(qint64 k) const;
    // Records k to k + count - 1, read in one go.
    QList<PlayerRecord> read(qint64 k, qint64 count) const;
    bool write(qint64 k, const PlayerRecord &record);

    // The underlying file, for locking it.
    const RecordFile &recordFile() const { return file_; }

private:
    RecordFile file_;
};
