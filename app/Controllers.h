#pragma once

#include <QList>
#include <QTimer>

#include <cstdint>
#include <vector>

struct Module1;
class Game;
class Keyboard;
struct _SDL_GameController;

// Game controllers beside the keyboard, through SDL's game-controller
// mapping, so Xbox, PlayStation, Switch and generic pads all have the same
// buttons. The controllers connected at Start take the players from the last
// one down, in the order they were connected; one plugged in during a match
// takes the highest-numbered player without one. The D-pad, the shoulder
// buttons and the left stick turn; the south face button and Start act as
// Space. Nothing here ends the game.
//
// A turn flag is set while the key or the controller asks for it: each
// controller remembers what it asked for, so that letting go of it leaves the
// flag to the keys, and it asks again before every tick.
//
// Without SDL's game-controller support everything here does nothing.
class Controllers
{
public:
    Controllers(Module1& match, Game& game, const Keyboard& keys);
    ~Controllers();
    Controllers(const Controllers&) = delete;
    Controllers& operator=(const Controllers&) = delete;

    // Takes in what the controllers did since the last time: plugs, unplugs,
    // buttons and the sticks. Runs before every tick; while no tick comes (a
    // window opened from inside one) it runs on its own, more slowly.
    void Pump();

    // A new match: every controller takes its player.
    void TakePlayers();

    // The player's head has died: a short rumble on its controller.
    void Rumble(std::int16_t slot);

    // The player each controller steers, in the order they were connected;
    // -1 for one left without a player.
    QList<int> Slots() const;

private:
    struct Pad
    {
        _SDL_GameController* handle = nullptr;
        std::int32_t id = -1;     // SDL's instance id, never reused
        int slot = -1;            // who it steers, or nobody
        bool stickLeft = false;   // the stick past its dead zone
        bool stickRight = false;
        bool asksLeft = false;    // what it asked for before the last tick
        bool asksRight = false;
    };

    void TakeInNew();
    void Unplugged(std::int32_t id);
    void Steer(Pad& pad);
    void Ask(Pad& pad, bool left, bool right);
    void Light(const Pad& pad);
    int FreeSlot() const;

    Module1& match;
    Game& game;
    const Keyboard& keys;
    bool ready = false;
    bool matchStarted = false;
    std::vector<Pad> pads;
    QTimer idlePump;
};
