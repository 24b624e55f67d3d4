#include "platform/SystemClock.h"

SystemClock::SystemClock()
{
    timer_.start();
}

qint64 SystemClock::ticks()
{
    return timer_.elapsed();
}
