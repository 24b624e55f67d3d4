#pragma once

#include <QString>
#include <QtGlobal>

class SoundPlayer;

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

// The sound switch and the cues it lets through. The switch is the value the settings file
// holds: -1 for on, 0 for off; any other value read from a damaged file also counts as on.
class SoundCues
{
public:
    explicit SoundCues(SoundPlayer &player);

    qint16 switchValue() const { return soundOn_; }
    void setSwitchValue(qint16 value) { soundOn_ = value; }
    bool isOn() const { return soundOn_ != 0; }

    // Plays a cue in the background when the sound is on at that moment.
    void play(const QString &fileName);
    // How long the cue being played is still to be heard, in milliseconds; 0 with the
    // sound off.
    int remainingMs() const;

private:
    SoundPlayer &player_;
    qint16 soundOn_ = -1;
};
