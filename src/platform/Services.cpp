#include "platform/Services.h"

#include "platform/QtServices.h"

namespace {

Services &realServices()
{
    static SystemClock clock;
    static SystemRandom random;
    static QtBeeper beeper;
    static QtSoundPlayer sound;
    static QtMessageBoxes boxes;
    static QtShell shell;
    static QtProgramEnd end;
    static Services s{&clock, &random, &beeper, &sound, &boxes, &shell, &end};
    return s;
}

Services *current = nullptr;

} // namespace

Services &services()
{
    if (!current)
        current = &realServices();
    return *current;
}

void setServices(const Services &s)
{
    static Services installed;
    installed = s;
    // Anything a caller leaves out falls back on the real service.
    const Services &real = realServices();
    if (!installed.clock) installed.clock = real.clock;
    if (!installed.random) installed.random = real.random;
    if (!installed.beeper) installed.beeper = real.beeper;
    if (!installed.sound) installed.sound = real.sound;
    if (!installed.boxes) installed.boxes = real.boxes;
    if (!installed.shell) installed.shell = real.shell;
    if (!installed.end) installed.end = real.end;
    current = &installed;
}
