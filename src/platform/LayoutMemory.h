#pragma once

#include <QString>

// The keyboard layout last chosen in the progression window, kept between runs.
class LayoutMemory
{
public:
    virtual ~LayoutMemory() = default;
    virtual QString remembered() = 0; // empty when none was chosen
    virtual void remember(const QString &layout) = 0;
};
