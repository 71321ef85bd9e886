#pragma once

#include <array>
#include <functional>

struct Module1;
class Game;

// What the game keys do: the turn keys set and clear the players' turn
// flags, Space starts the next round between rounds, Esc ends the program.
class Keyboard
{
public:
    Keyboard(Module1& match, Game& game, std::function<void()> unload);

    void Picture1_KeyDown(int code);
    void Picture1_KeyUp(int code);
    // The keys' releases go elsewhere now, so nobody may be left turning.
    void Picture1_LostFocus();

    // Whether a turn key of the slot is down as far as the keys know; a
    // controller letting go of a turn leaves the flag to this.
    bool Holds(int slot, bool left) const;

private:
    void SetTurnFlags(int code, bool held);

    Module1& match;
    Game& game;
    std::function<void()> unload;
    std::array<bool, 6> leftHeld{};
    std::array<bool, 6> rightHeld{};
};
