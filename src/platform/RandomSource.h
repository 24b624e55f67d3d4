#pragma once

// Uniform numbers in [0, 1), from one generator seeded once at start-up.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    virtual double next() = 0;
};
