#pragma once

#include "Packet.h"
#include "Seats.h"

#include <array>

namespace net {

// On the host: lets through the turn keys a joined computer sends for the
// seats it owns, each newer than the last let through from it for that
// seat. Keys arrive on the unreliable channel, so an older packet may come
// after a newer one and must not undo it.
class InputGate
{
public:
    explicit InputGate(const Seats& seats) : seats(seats) {}

    bool Accept(ComputerId from, const Input& input);
    // A computer that left: the next one given its number counts afresh.
    void Forget(ComputerId computer);

private:
    struct Seen
    {
        ComputerId from = NoComputer;
        std::uint32_t sequence = 0;
    };
    const Seats& seats;
    std::array<Seen, PlayerCount> last{};
};

} // namespace net
