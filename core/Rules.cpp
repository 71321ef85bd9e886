#include "Rules.h"

#include "Module1.h"
#include "Playfield.h"
#include "Screens.h"

#include <algorithm>
#include <cstdlib>

QString ScoreText(std::int16_t score)
{
    const QString digits = QString::number(std::abs(int(score))).rightJustified(2, u'0');
    return score < 0 ? u'-' + digits : digits;
}

int OwnerOf(ColorRef color)
{
    for (std::size_t slot = 0; slot < PlayerColors.size(); ++slot)
        if (PlayerColors[slot] == color)
            return int(slot);
    return -1;
}

bool Dies(const PlayerRecord& player, ColorRef hitColor)
{
    constexpr float Limit = Playfield::Size;
    const bool hitSomething = hitColor != Black && player.PassTicks == 0;
    const bool leftField = player.X < 0 || player.Y < 0 || player.X > Limit || player.Y > Limit;
    return hitSomething || leftField;
}

static void AddToScore(Module1& match, Screens& screens, int slot, int points)
{
    std::int16_t& score = match.Players[slot].Score;
    score = static_cast<std::int16_t>(score + points);
    screens.ShowScore(std::int16_t(slot), ScoreText(score));
}

void CreditHit(Module1& match, Screens& screens, ColorRef hitColor, std::int16_t victim)
{
    const int owner = OwnerOf(hitColor);
    if (owner < 0)
        return;
    AddToScore(match, screens, owner, owner == victim ? -1 : +1);
}

bool CheckLastSurvivor(Module1& match, Screens& screens)
{
    int alive = 0;
    int survivor = -1;
    const int last = match.LastActiveSlot();
    for (int slot = 0; slot <= last; ++slot) {
        if (!match.Players[slot].Dead) {
            ++alive;
            survivor = slot;
        }
    }
    if (alive != 1)
        return false;
    AddToScore(match, screens, survivor, +2);
    return true;
}

QList<std::int16_t> WinnerSlots(const Module1& match)
{
    const int last = match.LastActiveSlot();
    if (last < 0)
        return {};
    const auto active = match.Players.begin() + last + 1;
    const std::int16_t top = std::max_element(match.Players.begin(), active,
        [](const PlayerRecord& a, const PlayerRecord& b) { return a.Score < b.Score; })->Score;

    QList<std::int16_t> winners;
    for (int slot = 0; slot <= last; ++slot)
        if (match.Players[slot].Score == top)
            winners << std::int16_t(slot);
    return winners;
}
