#pragma once

#include "Packet.h"

#include <optional>

namespace net {

// Who steers which player, on the host. Players are numbered 1..6; each is
// steered from exactly one computer, or from none while it is not playing.
class Seats
{
public:
    // The host starts with players 1 and 2, or with player 1 alone, which
    // leaves player 2 to the first computer that joins. More players at the
    // host's own keyboard are given to it with Move(player, HostComputer).
    explicit Seats(bool hostPlaysAlone);

    struct Joined
    {
        ComputerId computer = 0;
        SeatSet seats = 0; // none: it watches
    };
    // Seats a joining computer on the players of back the host still
    // steers, then on the lowest-numbered free ones, up to the number it
    // asked for. One that asks to watch, or finds no player free or
    // MaxGuests steering already, watches; nothing when MaxWatchers
    // watch already.
    std::optional<Joined> Join(int wanted, bool watch, SeatSet back = 0);
    // Its players go back to the host, which steers them from then on.
    void Leave(ComputerId computer);
    // The host hands a player to a joined computer or takes it back.
    bool Move(int player, ComputerId to);
    // The player leaves the match, free for the next computer that joins;
    // one that steered it stays joined.
    void Free(int player);

    // NoComputer for a player not in the match.
    ComputerId Owner(int player) const;
    SeatSet SeatsOf(ComputerId computer) const;
    bool IsJoined(ComputerId computer) const;
    static bool IsWatcher(ComputerId computer) { return computer > MaxGuests && computer <= MaxComputers; }
    // Input from a computer for a seat it does not own is dropped.
    bool MaySteer(ComputerId computer, int player) const;
    const SeatMap& Map() const { return map; }

private:
    SeatMap map;
    std::array<bool, MaxComputers + 1> joined{};
};

} // namespace net
