#pragma once

#include <cmath>
#include <cstdint>

// Reals become integers by rounding to nearest, halves to the even neighbour
// (112.5 -> 112, 113.5 -> 114), as the game has always done.
inline int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// Positions, steps and angles are kept as 32-bit floats but computed in double.
inline float StoreSingle(double value)
{
    return static_cast<float>(value);
}
