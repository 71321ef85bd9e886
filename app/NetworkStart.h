#pragma once

#include "EnetTransport.h"
#include "NetworkOptions.h"
#include "Packet.h"

#include <memory>
#include <optional>

// Connects to the host the options name and waits, a few seconds at most,
// for it to answer; the connection's peer, or nothing.
std::optional<net::PeerId> ConnectToHost(const NetworkOptions& options,
                                         std::unique_ptr<net::EnetTransport>& transport);

// A fresh four-digit join code.
std::uint16_t NewJoinCode();

// The host's addresses for the others, IPv4, comma-separated.
QString HostAddresses();

// The host's one line for the others: its addresses, port and code.
QString HostLine(quint16 port, std::uint16_t code);

namespace net {
class HostLink;
}
// The host window's line for each joined computer and the players it steers.
QStringList ComputerRows(const net::HostLink& link);
// The host window's line for each player 1..6: who steers it, or nothing
// for a player not in the match.
QStringList OwnerRows(const net::HostLink& link);
// Where a click on a player's line hands it: the next joined computer, or
// back to the host after the last.
net::ComputerId NextOwner(const net::HostLink& link, int player);
