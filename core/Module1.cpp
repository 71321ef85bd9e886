#include "Module1.h"

#include "RandomSource.h"
#include "Rounding.h"

#include <algorithm>
#include <cmath>

void AimHeading(PlayerRecord& player)
{
    player.DX = StoreSingle(std::sin(double(player.Angle)) * player.Speed);
    player.DY = StoreSingle(std::cos(double(player.Angle)) * player.Speed);
}

int Module1::LastActiveSlot() const
{
    return std::clamp<int>(LastPlayer, -1, int(Players.size()) - 1);
}

void Module1::AssignPlayerColors()
{
    for (std::size_t slot = 0; slot < Players.size(); ++slot)
        Players[slot].Color = PlayerColors[slot];
}

void Module1::StartRound(RandomSource& random)
{
    const int last = LastActiveSlot();
    for (int slot = 0; slot <= last; ++slot) {
        PlayerRecord& p = Players[slot];
        const double r1 = random.Rnd();
        const double r2 = random.Rnd();
        const double r3 = random.Rnd();
        const double r4 = random.Rnd();
        // Anywhere in the middle square, any heading, a speed of 0.6 to 1.2.
        p.X = StoreSingle(r1 * 225 + 112);
        p.Y = StoreSingle(r2 * 225 + 112);
        p.Angle = StoreSingle(r3 * 10);
        p.Speed = StoreSingle((r4 * 6 + 6) / 10);
        AimHeading(p);
        p.Dead = false;
        p.PassTicks = 0;
        p.TurnLeft = false;
        p.TurnRight = false;
    }
}
