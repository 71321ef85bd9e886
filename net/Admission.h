#pragma once

#include "Packet.h"
#include "Seats.h"

#include <variant>

namespace net {

// What the host checks a joining computer's hello against.
struct HostFacts
{
    QString version; // the build's own, which the joining one must equal
    std::uint16_t code = 0;
};

// Seats a computer that says hello, or tells it why not. back: players it
// steered before its connection dropped, kept for it.
std::variant<Welcome, Refusal> Admit(const Hello& hello, const HostFacts& host, Seats& seats, SeatSet back = 0);

// The one Czech line a joining computer shows for a refusal.
QString RefusalLine(const Refusal& refusal);

} // namespace net
