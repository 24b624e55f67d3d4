#include "game/SoundCue.h"

#include "app/Clvglob.h"
#include "platform/Services.h"
#include "platform/SoundPlayer.h"

void SoundCue(const QString &fileName)
{
    if (clvglob().SoundOn != 0)
        services().sound->play(fileName);
}
