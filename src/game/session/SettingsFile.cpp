#include "game/session/SettingsFile.h"

#include <QtEndian>

bool SettingsFile::open(const QString &path)
{
    return file_.open(path, 2, EntryFile::Mode::ReadWrite);
}

void SettingsFile::close()
{
    file_.close();
}

bool SettingsFile::isOpen() const
{
    return file_.isOpen();
}

QString SettingsFile::errorString() const
{
    return file_.errorString();
}

bool SettingsFile::loadOrCreate(qint16 *soundOn)
{
    if (file_.length() == 0) {
        *soundOn = kSoundOn;
        return save(kSoundOn);
    }
    *soundOn = qFromLittleEndian<qint16>(file_.read(1).constData());
    return true;
}

bool SettingsFile::save(qint16 soundOn)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<qint16>(soundOn, bytes.data());
    return file_.write(1, bytes);
}
