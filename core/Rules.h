#pragma once

#include "ColorRef.h"

#include <QList>
#include <QString>
#include <cstdint>

struct Module1;
struct PlayerRecord;
class Screens;

// A score as the scoreboard shows it: at least two digits, minus in front.
QString ScoreText(std::int16_t score);

// The slot whose trail has this colour, or -1 for black, white, off-field
// and anything else.
int OwnerOf(ColorRef color);

// A head dies on anything but black unless it is passing through, and
// beyond the field limits whatever it is doing; the limits themselves are in.
bool Dies(const PlayerRecord& player, ColorRef hitColor);

// The owner of the trail that was hit scores: +1 for someone else's trail,
// -1 for one's own.
void CreditHit(Module1& match, Screens& screens, ColorRef hitColor, std::int16_t victim);

// True when exactly one active player is alive; that player gets two points.
bool CheckLastSurvivor(Module1& match, Screens& screens);

// The active slots that share the top score, lowest first; the top score may
// be 0 or below. Never empty while there is an active slot.
QList<std::int16_t> WinnerSlots(const Module1& match);
