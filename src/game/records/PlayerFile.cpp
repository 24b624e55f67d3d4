#include "game/records/PlayerFile.h"

QString PlayerFile::fileNameFor(int gameMode)
{
    return gameMode == 6 ? QStringLiteral("clvfic6.txt") : QStringLiteral("clvfic1.txt");
}

bool PlayerFile::open(const QString &path)
{
    return file_.open(path, PlayerEntry::kSize, EntryFile::Mode::ReadWrite);
}

bool PlayerFile::openReadOnly(const QString &path)
{
    return file_.open(path, PlayerEntry::kSize, EntryFile::Mode::ReadOnly);
}

void PlayerFile::close()
{
    file_.close();
}

bool PlayerFile::isOpen() const
{
    return file_.isOpen();
}

QString PlayerFile::path() const
{
    return file_.path();
}

QString PlayerFile::errorString() const
{
    return file_.errorString();
}

qint64 PlayerFile::length() const
{
    return file_.length();
}

double PlayerFile::entryCount() const
{
    return double(file_.length()) / PlayerEntry::kSize;
}

double PlayerFile::playerCount() const
{
    return entryCount() - 2;
}

PlayerEntry PlayerFile::read(qint64 k) const
{
    return PlayerEntry::fromBytes(file_.read(k));
}

QList<PlayerEntry> PlayerFile::read(qint64 k, qint64 count) const
{
    const QByteArray bytes = file_.read(k, count);
    QList<PlayerEntry> out;
    out.reserve(bytes.size() / PlayerEntry::kSize);
    for (qsizetype at = 0; at + PlayerEntry::kSize <= bytes.size(); at += PlayerEntry::kSize)
        out.append(PlayerEntry::fromBytes(bytes.mid(at, PlayerEntry::kSize)));
    return out;
}

bool PlayerFile::write(qint64 k, const PlayerEntry &entry)
{
    return file_.write(k, entry.toBytes());
}
