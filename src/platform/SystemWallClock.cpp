#include "platform/SystemWallClock.h"

QDateTime SystemWallClock::nowUtc()
{
    return QDateTime::currentDateTimeUtc();
}
