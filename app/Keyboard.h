#pragma once

#include <QList>

#include <functional>
#include <utility>

// What the game keys do: Esc ends the program, Space starts the next round
// between rounds, and a turn key asks for its turn while it is down. Each
// key is held on its own: with two keys down for one turn, letting go of one
// leaves the turn to the other.
class Keyboard
{
public:
    Keyboard(std::function<void()> unload, std::function<void()> nextRound);

    // key: the physical key as the platform numbers it (its scan code), or 0
    // where the platform does not say; then the code alone tells keys apart.
    void Picture1_KeyDown(int code, quint32 key = 0);
    void Picture1_KeyUp(int code, quint32 key = 0);

    // The releases go elsewhere now, or a new round waits for a new press:
    // no key is held any more.
    void Forget();

    // Whether a turn key of the slot is down.
    bool Asks(int slot, bool left) const;

private:
    std::function<void()> unload;
    std::function<void()> nextRound;
    // The turn keys down: the physical key and the code it went down as.
    QList<std::pair<quint32, int>> held;
};
