#pragma once

#include <QElapsedTimer>

#include <cstdio>

// What the benchmarks print: milliseconds with their fraction, and lines that reach the
// terminal at once, so that a slow step shows while it runs.
inline double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

inline void print(const char *format, auto... values)
{
    std::printf(format, values...);
    std::fflush(stdout);
}
