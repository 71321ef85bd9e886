#pragma once

#include "PlayerSlots.h"

#include <QColor>

#include <array>
#include <cstdint>

// A colour as the game compares it: 0x00BBGGRR, red in the low byte.
using ColorRef = std::uint32_t;

inline constexpr ColorRef Black = 0x000000;     // free field
inline constexpr ColorRef White = 0xFFFFFF;     // frame and pass-through trails
inline constexpr ColorRef OffField = 0xFFFFFFFF; // what a read beyond the field returns

// Trail colour of each slot; no two alike, none black or white, so a colour
// read from the field names at most one owner.
inline constexpr std::array<ColorRef, PlayerSlots> PlayerColors = {
    0x00FF00, // green
    0x0000FF, // red
    0xFF0000, // blue
    0x00FFFF, // yellow
    0xFFFF00, // cyan
    0xFF00FF, // magenta
};

constexpr ColorRef MakeColorRef(int red, int green, int blue)
{
    return ColorRef(red & 0xFF) | ColorRef(green & 0xFF) << 8 | ColorRef(blue & 0xFF) << 16;
}

inline QColor ToQColor(ColorRef color)
{
    return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}
