#include "RandomSource.h"

#include <chrono>

ClockSeededRandom::ClockSeededRandom()
    : ClockSeededRandom(static_cast<std::uint64_t>(
          std::chrono::system_clock::now().time_since_epoch().count()))
{
}

ClockSeededRandom::ClockSeededRandom(std::uint64_t seed)
    : engine(seed)
{
}

double ClockSeededRandom::Rnd()
{
    // 53 random bits scaled by 2^-53: uniform and never 1.0, which
    // std::uniform_real_distribution does not promise on every library.
    return static_cast<double>(engine() >> 11) * 0x1.0p-53;
}
