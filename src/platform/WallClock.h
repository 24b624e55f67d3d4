#pragma once

#include <QDateTime>

// The date and time of day, in UTC, for what is kept with a date (the game history). Item
// times never come from here: they are measured with the monotonic Clock.
class WallClock
{
public:
    virtual ~WallClock() = default;
    virtual QDateTime nowUtc() = 0;
};
