#pragma once

#include "ColorRef.h"

#include <QList>
#include <QString>
#include <cstdint>

// Everything the rules need from the windows: what they show, the options the
// players set, and the winner sequence at the end of a match. The windows fill
// it in (app/GameView); tests put a recorder in its place.
class Screens
{
public:
    virtual ~Screens() = default;

    // Scoreboard score label of one slot.
    virtual void ShowScore(std::int16_t slot, const QString& text) = 0;
    // Level banner over the playfield.
    virtual void SetBannerCaption(const QString& caption) = 0;
    virtual void SetBannerVisible(bool visible) = 0;
    // Text colour of the credit label.
    virtual void SetCreditColor(ColorRef color) = 0;

    // Options as the setup window holds them at the moment of asking.
    virtual bool PassThroughOn() const = 0;
    virtual bool CaveInsOn() const = 0;
    virtual QString RoundsText() const = 0;

    // A head has just died, before the round or match end it may bring; the
    // game window has nothing to show for it, a controller may rumble.
    virtual void HeadDied(std::int16_t /*slot*/) {}

    // The winner window for these slots, in slot order, and the way back to
    // the setup window; returns only when the next match has been started.
    virtual void ShowWinners(const QList<std::int16_t>& winners) = 0;
};
