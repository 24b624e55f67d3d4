#include "game/records/PlayerFile.h"

QString PlayerFile::fileNameFor(int gameMode)
{
    return gameMode == 6 ? QStringLiteral("clvfic6.txt") : QStringLiteral("clvfic1.txt");
}

bool PlayerFile::open(const QString &path)
{
    return file_.open(path, PlayerRecord::kSize, RecordFile::Mode::ReadWrite);
}

bool PlayerFile::openReadOnly(const QString &path)
{
    return file_.open(path, PlayerRecord::kSize, RecordFile::Mode::ReadOnly);
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

double PlayerFile::recordCount() const
{
    return double(file_.length()) / PlayerRecord::kSize;
}

double PlayerFile::playerCount() const
{
    return recordCount() - 2;
}

PlayerRecord PlayerFile::read(qint64 k) const
{
    return PlayerRecord::fromBytes(file_.read(k));
}

QList<PlayerRecord> PlayerFile::read(qint64 k, qint64 count) const
{
    const QByteArray bytes = file_.read(k, count);
    QList<PlayerRecord> out;
    out.reserve(bytes.size() / PlayerRecord::kSize);
    for (qsizetype at = 0; at + PlayerRecord::kSize <= bytes.size(); at += PlayerRecord::kSize)
        out.append(PlayerRecord::fromBytes(bytes.mid(at, PlayerRecord::kSize)));
    return out;
}

bool PlayerFile::write(qint64 k, const PlayerRecord &record)
{
    return file_.write(k, record.toBytes());
}
