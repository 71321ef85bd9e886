#pragma once

#include <QList>

#include <cstdint>
#include <functional>
#include <memory>

struct Module1;

// Game controllers beside the keyboard, through SDL's game-controller
// mapping, so Xbox, PlayStation, Switch and generic pads all have the same
// buttons. The controllers connected at Start take the players from the last
// one down, in the order they were connected; one plugged in during a match
// takes the highest-numbered player without one. The D-pad, the shoulder
// buttons and the left stick ask for turns; the south face button and Start
// act as Space. Nothing here ends the game.
//
// Without SDL's game-controller support everything here does nothing.
class Controllers
{
public:
    // nextRound is what Space does; asked is told after every pump, once the
    // turns asked for may have changed.
    Controllers(const Module1& match, std::function<void()> nextRound, std::function<void()> asked);
    ~Controllers();
    Controllers(const Controllers&) = delete;
    Controllers& operator=(const Controllers&) = delete;

    // Takes in what the controllers did since the last time: plugs, unplugs,
    // buttons and the sticks. Runs before every tick; while no tick comes it
    // runs on its own, as seldom as noticing a plug or a button in time
    // allows.
    void Pump();

    // A new match: every controller takes its player.
    void TakePlayers();

    // A new round: what each controller asked for is forgotten until its
    // next pump.
    void Forget();

    // Whether a controller of the slot asked for the turn at its last pump.
    bool Asks(int slot, bool left) const;

    // The player's head has died: a short rumble on its controller.
    void Rumble(std::int16_t slot);

    // Whose number and colour a controller of the slot lights up, where
    // the slots are not the players (a joined computer's seats).
    void ShowAs(std::function<int(int slot)> shownSlot);

    // The player each controller steers, in the order they were connected;
    // -1 for one left without a player.
    QList<int> Slots() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
