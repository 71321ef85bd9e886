#pragma once

#include <cstdint>
#include <functional>

// Counts the ticks a timer delivers between Begin and End, on a clock it is
// given (nanoseconds, never going back), so the counting can be checked
// against a scripted clock.
class CadenceCounter
{
public:
    using Clock = std::function<std::int64_t()>;

    explicit CadenceCounter(Clock clock);

    // Ticks before Begin and after End are not counted.
    void Begin();
    void Tick();
    void End();

    int Ticks() const { return ticks; }
    // Over the whole window, Begin to End; 0 until End, or for an empty window.
    double TicksPerSecond() const;
    // The longest wait from one counted tick to the next; 0 with fewer than
    // two ticks. The wait for the first tick is not one: it depends on where
    // in the interval the window happened to open.
    std::int64_t LargestGapNanoseconds() const { return largestGap; }

private:
    enum class State { Before, Counting, Done };

    Clock clock;
    State state = State::Before;
    std::int64_t began = 0;
    std::int64_t ended = 0;
    std::int64_t lastTick = 0;
    std::int64_t largestGap = 0;
    int ticks = 0;
};
