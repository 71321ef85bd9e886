#include "Keyboard.h"

#include "TurnKeys.h"
#include "VirtualKeys.h"

#include <algorithm>

Keyboard::Keyboard(std::function<void()> unload, std::function<void()> nextRound)
    : unload(std::move(unload)), nextRound(std::move(nextRound))
{
}

void Keyboard::Picture1_KeyDown(int code, quint32 key)
{
    if (code == VirtualKey::Escape) {
        unload();
        return;
    }
    // Does nothing while a round runs.
    if (code == VirtualKey::Space) {
        nextRound();
        return;
    }
    const bool turnKey = std::any_of(std::begin(TurnKeys), std::end(TurnKeys),
                                     [code](const TurnKey& turn) { return turn.code == code; });
    // The auto-repeat presses it again and again.
    if (turnKey && !held.contains({key, code}))
        held.push_back({key, code});
}

void Keyboard::Picture1_KeyUp(int code, quint32 key)
{
    held.removeOne({key, code});
}

void Keyboard::Forget()
{
    held.clear();
}

bool Keyboard::Asks(int slot, bool left) const
{
    for (const TurnKey& turn : TurnKeys)
        if (turn.slot == slot && turn.left == left
            && std::any_of(held.cbegin(), held.cend(), [&turn](const auto& down) { return down.second == turn.code; }))
            return true;
    return false;
}
