#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file of fixed-length entries numbered from 1. Reading past the end yields zero bytes,
// writing past the end extends the file, and every write reaches the disk before the call
// returns, so a best time announced to the player is one kept.
class EntryFile
{
public:
    enum class Mode { ReadWrite, ReadOnly };

    EntryFile() = default;
    EntryFile(const EntryFile &) = delete;
    EntryFile &operator=(const EntryFile &) = delete;
    ~EntryFile();

    // Opens the file by name. ReadWrite creates a missing file empty; ReadOnly does not.
    // On failure the file stays closed and errorString() says why, in French.
    bool open(const QString &path, int entryLength, Mode mode);
    void close();
    bool isOpen() const;

    QString path() const;
    // The operating system's file descriptor, -1 when closed (for locking).
    int handle() const;
    QString errorString() const;
    int entryLength() const;

    // Length of the file in bytes (0 when closed).
    qint64 length() const;

    // Entry k (k >= 1): always entryLength() bytes, the missing ones read as zero.
    QByteArray read(qint64 k) const;
    // Entries k to k + count - 1 in one read, the missing bytes as zero.
    QByteArray read(qint64 k, qint64 count) const;

    // Writes entry k (k >= 1), padded with zeros or cut to entryLength(), then flushes
    // and syncs. Returns false, with errorString() set, when the write did not succeed.
    bool write(qint64 k, const QByteArray &bytes);

private:
    bool extendWithZeros(qint64 from, qint64 to);
    bool syncToDisk();

    mutable QFile file_;
    int entryLength_ = 0;
    QString error_;
};
