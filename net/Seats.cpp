#include "Seats.h"

namespace net {

namespace {

bool ValidPlayer(int player) { return player >= 1 && player <= PlayerCount; }

} // namespace

Seats::Seats(bool hostPlaysAlone)
{
    map.owners.fill(NoComputer);
    map.owners[0] = HostComputer;
    if (!hostPlaysAlone)
        map.owners[1] = HostComputer;
    joined[HostComputer] = true;
}

std::optional<Seats::Joined> Seats::Join(int wanted, bool watch, SeatSet back)
{
    SeatSet seats = 0;
    const auto take = [&](int player, ComputerId owner) {
        if (wanted > 0 && map.owners[player - 1] == owner) {
            seats |= SeatSet(1u << (player - 1));
            --wanted;
        }
    };
    for (int player = 2; player <= PlayerCount; ++player) {
        if (back & (1u << (player - 1)))
            take(player, HostComputer);
    }
    // Lowest first, so the players in a match stay numbered without gaps,
    // as the setup window lets them join.
    for (int player = 2; player <= PlayerCount; ++player)
        take(player, NoComputer);

    ComputerId computer = 1;
    const auto firstFree = [&](ComputerId last) {
        while (computer <= last && joined[computer])
            ++computer;
        return computer <= last;
    };
    if (watch || seats == 0 || !firstFree(MaxGuests)) {
        seats = 0;
        computer = MaxGuests + 1;
        if (!firstFree(MaxComputers))
            return std::nullopt;
    }
    joined[computer] = true;
    for (int player = 1; player <= PlayerCount; ++player) {
        if (seats & (1u << (player - 1)))
            map.owners[player - 1] = computer;
    }
    return Joined{computer, seats};
}

void Seats::Leave(ComputerId computer)
{
    if (computer == HostComputer || !IsJoined(computer))
        return;
    joined[computer] = false;
    for (ComputerId& owner : map.owners) {
        if (owner == computer)
            owner = HostComputer;
    }
}

bool Seats::Move(int player, ComputerId to)
{
    // A watcher asked to steer nobody.
    if (!ValidPlayer(player) || !IsJoined(to) || IsWatcher(to))
        return false;
    map.owners[player - 1] = to;
    return true;
}

void Seats::Free(int player)
{
    if (ValidPlayer(player))
        map.owners[player - 1] = NoComputer;
}

ComputerId Seats::Owner(int player) const
{
    return ValidPlayer(player) ? map.owners[player - 1] : NoComputer;
}

SeatSet Seats::SeatsOf(ComputerId computer) const
{
    SeatSet seats = 0;
    for (int player = 1; player <= PlayerCount; ++player) {
        if (map.owners[player - 1] == computer)
            seats |= SeatSet(1u << (player - 1));
    }
    return seats;
}

bool Seats::IsJoined(ComputerId computer) const
{
    return computer <= MaxComputers && joined[computer];
}

bool Seats::MaySteer(ComputerId computer, int player) const
{
    return IsJoined(computer) && Owner(player) == computer;
}

} // namespace net
