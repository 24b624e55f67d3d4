#pragma once

#include "platform/Services.h"

#include <QElapsedTimer>

// Milliseconds from a monotonic clock started with the object.
class SystemClock : public Clock
{
public:
    SystemClock();
    qint64 ticks() override;

private:
    QElapsedTimer timer_;
};
