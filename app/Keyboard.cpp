#include "Keyboard.h"

#include "Game.h"
#include "Module1.h"
#include "VirtualKeys.h"

namespace {

struct TurnKey
{
    int slot;
    int left;
    int right;
};

// Each player's two keys, player 1 first.
constexpr TurnKey TurnKeys[] = {
    {0, VirtualKey::Left, VirtualKey::Right},
    {1, VirtualKey::Q, VirtualKey::W},
    {2, VirtualKey::V, VirtualKey::B},
    {3, VirtualKey::O, VirtualKey::P},
    {4, VirtualKey::KeypadPlus, VirtualKey::KeypadMinus},
    {5, VirtualKey::Keypad1, VirtualKey::Keypad2},
};

} // namespace

Keyboard::Keyboard(Module1& match, Game& game, std::function<void()> unload)
    : match(match), game(game), unload(std::move(unload))
{
}

void Keyboard::Picture1_KeyDown(int code)
{
    if (code == VirtualKey::Escape) {
        unload();
        return;
    }
    if (code == VirtualKey::Space && game.Paused) {
        game.StartNextRound();
        return;
    }
    SetTurnFlags(code, true);
}

void Keyboard::Picture1_KeyUp(int code)
{
    SetTurnFlags(code, false);
}

void Keyboard::Picture1_LostFocus()
{
    for (PlayerRecord& player : match.Players) {
        player.TurnLeft = false;
        player.TurnRight = false;
    }
    leftHeld.fill(false);
    rightHeld.fill(false);
}

bool Keyboard::Holds(int slot, bool left) const
{
    return (left ? leftHeld : rightHeld).at(std::size_t(slot));
}

void Keyboard::SetTurnFlags(int code, bool held)
{
    // Every slot's keys count, whether or not that player is in the match.
    for (const TurnKey& key : TurnKeys) {
        PlayerRecord& player = match.Players[key.slot];
        if (code == key.left)
            player.TurnLeft = leftHeld[key.slot] = held;
        if (code == key.right)
            player.TurnRight = rightHeld[key.slot] = held;
    }
}
