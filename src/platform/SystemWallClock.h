#pragma once

#include "platform/Services.h"

// The system's date and time, in UTC, to the millisecond.
class SystemWallClock : public WallClock
{
public:
    QDateTime nowUtc() override;
};
