#pragma once

#include <QRgb>

// The game's colours as a screenshot of its windows gives them.
namespace Shown {
inline constexpr QRgb Black = 0xFF000000;
inline constexpr QRgb White = 0xFFFFFFFF;
inline constexpr QRgb Green = 0xFF00FF00;
inline constexpr QRgb Red = 0xFFFF0000;
} // namespace Shown
