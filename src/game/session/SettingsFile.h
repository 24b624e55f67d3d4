#pragma once

#include "platform/EntryFile.h"

// "clavimo.ini": one 2-byte record holding the sound switch as a signed 16-bit
// little-endian integer, -1 (FF FF) for sound on and 0 (00 00) for sound off.
class SettingsFile
{
public:
    static QString fileName() { return QStringLiteral("clavimo.ini"); }
    static constexpr qint16 kSoundOn = -1;
    static constexpr qint16 kSoundOff = 0;

    bool open(const QString &path);
    void close();
    bool isOpen() const;
    QString errorString() const;

    // Record 1; an empty file first receives the default, sound on. Returns false when
    // the default could not be written.
    bool loadOrCreate(qint16 *soundOn);

    // Rewrites record 1 (the first two bytes) only.
    bool save(qint16 soundOn);

private:
    EntryFile file_;
};
