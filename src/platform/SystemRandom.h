#pragma once

#include "platform/Services.h"

#include <random>

// A 64-bit Mersenne Twister, seeded from the clock and the system's entropy source.
class SystemRandom : public RandomSource
{
public:
    void seedFromClock() override;
    double next() override;

private:
    std::mt19937_64 engine_{0};
};
