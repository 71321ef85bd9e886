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

std::optional<Seats::Joined> Seats::Join(int wanted, bool watch)
{
    ComputerId computer = 1;
    while (computer <= MaxGuests && joined[computer])
        ++computer;
    if (computer > MaxGuests)
        return std::nullopt;
    joined[computer] = true;
    Joined seated{computer, 0};
    // Lowest first, so the players in a match stay numbered without gaps,
    // as the setup window lets them join.
    for (int player = 2; !watch && wanted > 0 && player <= PlayerCount; ++player) {
        if (map.owners[player - 1] == NoComputer) {
            map.owners[player - 1] = computer;
            seated.seats |= SeatSet(1u << (player - 1));
            --wanted;
        }
    }
    return seated;
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
    if (!ValidPlayer(player) || !IsJoined(to))
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
    return computer <= MaxGuests && joined[computer];
}

bool Seats::MaySteer(ComputerId computer, int player) const
{
    return IsJoined(computer) && Owner(player) == computer;
}

} // namespace net
