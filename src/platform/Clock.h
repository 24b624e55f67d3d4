#pragma once

#include <QtGlobal>

// A monotonic millisecond counter. Item times are differences of two readings, so only
// the forward movement matters; 64 bits never wrap.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual qint64 ticks() = 0;
};
