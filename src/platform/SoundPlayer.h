#pragma once

#include <QString>

// Plays one .wav file in the background without waiting for it. A new sound stops the one
// still playing; a file that is missing or cannot be played fails silently.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &fileName) = 0;
    // How long the sound being played still lasts until it has been heard to its end, in
    // milliseconds: 0 when none plays, or when the last one could not be played.
    virtual int remainingMs() const = 0;
};
