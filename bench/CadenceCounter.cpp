#include "CadenceCounter.h"

#include <algorithm>
#include <utility>

CadenceCounter::CadenceCounter(Clock clock) : clock(std::move(clock)) {}

void CadenceCounter::Begin()
{
    state = State::Counting;
    began = clock();
    ticks = 0;
    largestGap = 0;
}

void CadenceCounter::Tick()
{
    if (state != State::Counting)
        return;
    const std::int64_t now = clock();
    if (ticks > 0)
        largestGap = std::max(largestGap, now - lastTick);
    lastTick = now;
    ++ticks;
}

void CadenceCounter::End()
{
    if (state != State::Counting)
        return;
    ended = clock();
    state = State::Done;
}

double CadenceCounter::TicksPerSecond() const
{
    if (state != State::Done || ended <= began)
        return 0;
    return double(ticks) * 1e9 / double(ended - began);
}
