#include "game/session/SoundCues.h"

#include "platform/Services.h"

SoundCues::SoundCues(SoundPlayer &player)
    : player_(player)
{
}

void SoundCues::play(const QString &fileName)
{
    if (isOn())
        player_.play(fileName);
}

int SoundCues::remainingMs() const
{
    return isOn() ? player_.remainingMs() : 0;
}
