#include "platform/SystemRandom.h"

#include <QDateTime>

#include <cstdint>

void SystemRandom::seedFromClock()
{
    const auto now = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
    std::seed_seq seq{std::uint32_t(now), std::uint32_t(now >> 32),
                      std::uint32_t(std::random_device{}())};
    engine_.seed(seq);
}

double SystemRandom::next()
{
    // 53 random bits give every double of [0, 1) on an even grid; 1.0 cannot come out.
    return double(engine_() >> 11) * 0x1.0p-53;
}
