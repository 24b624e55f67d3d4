#pragma once

#include <QString>

// The program's sound files.
namespace Cue {
inline const QString Start = QStringLiteral("cparti.wav");
inline const QString Goodbye = QStringLiteral("aurevoir.wav");
inline const QString GameBest = QStringLiteral("oui.wav");
inline const QString PersonalMini = QStringLiteral("recmin.wav");
inline const QString AbsoluteMini = QStringLiteral("recminab.wav");
inline const QString PersonalAverage = QStringLiteral("recmoy.wav");
inline const QString AbsoluteAverage = QStringLiteral("recmoyab.wav");
} // namespace Cue

// Plays a sound file in the background when the sound is on (SoundOn not 0, tested at
// the moment of the cue); does nothing when it is off.
void SoundCue(const QString &fileName);
