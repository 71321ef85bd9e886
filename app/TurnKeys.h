#pragma once

#include "PlayerSlots.h"

#include <Qt>

// One turn key. A second key for a turn is one more row here; the help on
// the setup window and the README still name the keys in words.
struct TurnKey
{
    int code;         // the game's name for it: its code on the keyboard it was designed on
    Qt::Key key;      // what Qt calls it in a layout written in Latin letters
    bool keypadOnly;  // the numeric keypad's, not the main rows' key of the same name
    unsigned usPlace; // a letter's PC scan code on a US keyboard, for layouts without Latin letters; 0 for other keys
    int slot;         // whose turn
    bool left;        // which way
};

// Every turn key, player 1 first. Each applies to its slot whether or not
// that player is in the match.
inline constexpr TurnKey TurnKeys[] = {
    // The keypad's 4 and 6 with Num Lock off are arrows too.
    {37, Qt::Key_Left, false, 0, 0, true},
    {39, Qt::Key_Right, false, 0, 0, false},
    {81, Qt::Key_Q, false, 16, 1, true},
    {87, Qt::Key_W, false, 17, 1, false},
    {86, Qt::Key_V, false, 47, 2, true},
    {66, Qt::Key_B, false, 48, 2, false},
    {79, Qt::Key_O, false, 24, 3, true},
    {80, Qt::Key_P, false, 25, 3, false},
    {107, Qt::Key_Plus, true, 0, 4, true},
    {109, Qt::Key_Minus, true, 0, 4, false},
    {97, Qt::Key_1, true, 0, 5, true},
    {98, Qt::Key_2, true, 0, 5, false},
};

constexpr bool EveryTurnKeyHasAPlayer()
{
    for (const TurnKey& turn : TurnKeys)
        if (turn.slot < 0 || turn.slot >= PlayerSlots)
            return false;
    return true;
}
static_assert(EveryTurnKeyHasAPlayer());
