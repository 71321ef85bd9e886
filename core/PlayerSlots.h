#pragma once

// How many players a match can have: slots 0 to 5, shown as players 1 to 6.
// Everything sized per player (colours, records, score rows, name boxes, key
// help) takes its size from here.
inline constexpr int PlayerSlots = 6;
