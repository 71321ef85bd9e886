#pragma once

#include <cstdint>
#include <random>

// Where the game's chance comes from: each call is a fresh uniform value in [0, 1).
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual double Rnd() = 0;
};

// The real program's source, seeded once from the clock.
class ClockSeededRandom final : public RandomSource
{
public:
    ClockSeededRandom();
    explicit ClockSeededRandom(std::uint64_t seed);
    double Rnd() override;

private:
    std::mt19937_64 engine;
};
