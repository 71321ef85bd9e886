#pragma once

#include "ColorRef.h"
#include "PlayerSlots.h"

#include <array>
#include <cstdint>

class RandomSource;

// One player slot; slot s is shown as player s + 1.
struct PlayerRecord
{
    float X = 0;        // head position
    float Y = 0;
    float OldX = 0;     // position before the latest move: start of the latest segment
    float OldY = 0;
    float DX = 0;       // step per tick, always Speed * sin(Angle)
    float DY = 0;       //                     Speed * cos(Angle)
    float Angle = 0;    // radians, never reduced; 0 heads straight down
    float Speed = 0;    // pixels per tick
    bool TurnLeft = false;
    bool TurnRight = false;
    ColorRef Color = 0;
    bool Dead = false;
    std::int16_t Score = 0;
    std::int16_t PassTicks = 0; // ticks of pass-through left
};

// Points the step along the heading: DX and DY from Angle and Speed.
void AimHeading(PlayerRecord& player);

// The match every window shares, alive for the whole process.
struct Module1
{
    std::array<PlayerRecord, PlayerSlots> Players{};
    std::int16_t LastPlayer = 0; // highest active slot
    std::int16_t Level = 0;      // round being played, 1 for the first

    // Highest slot the loops may visit: LastPlayer, kept inside the array.
    int LastActiveSlot() const;

    // Gives every slot its fixed trail colour; done once at start-up.
    void AssignPlayerColors();

    // Places and aims every active player for a new round, four draws per slot.
    void StartRound(RandomSource& random);
};
