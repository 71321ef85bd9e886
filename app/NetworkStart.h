#pragma once

#include "EnetTransport.h"
#include "NetworkOptions.h"
#include "Packet.h"

#include <functional>
#include <memory>
#include <optional>

// How long a joining computer waits for each of the host's addresses.
inline constexpr int ConnectWaitMs = 5000;

// Every IPv4 address a host's name or address stands for, in the resolver's
// order, each once: ENet speaks IPv4 only.
QList<QHostAddress> ResolveIPv4(const QString& name);

// Tries the addresses in turn, waiting waitMs for each to answer, and keeps
// the transport of the first that does; its peer, or nothing (and no
// transport). whileWaiting runs between looks, so a window stays alive.
std::optional<net::PeerId> ConnectToAny(const QList<QHostAddress>& addresses, quint16 port,
                                        std::unique_ptr<net::EnetTransport>& transport, int waitMs,
                                        const std::function<void()>& whileWaiting = {});

// The same for every IPv4 address of the host the options name.
std::optional<net::PeerId> ConnectToHost(const NetworkOptions& options,
                                         std::unique_ptr<net::EnetTransport>& transport,
                                         const std::function<void()>& whileWaiting = {});

// This build's hello for the options' code, name, players and watching.
net::Hello HelloFor(const NetworkOptions& options);

// The lines for a hello whose name cannot be sent and for a host that does
// not answer.
QString BadNameLine();
QString NoAnswerLine(const NetworkOptions& options);

// A fresh four-digit join code.
std::uint16_t NewJoinCode();

// The host's addresses for the others, IPv4, comma-separated.
QString HostAddresses();

// The host's one line for the others: its addresses, port and code.
QString HostLine(quint16 port, std::uint16_t code);

namespace net {
class DiscoveryResponder;
class HostLink;
}
// Answers LAN discovery for the game hosted on port, from the link's seats;
// nothing when the discovery port cannot be opened.
std::unique_ptr<net::DiscoveryResponder> AnswerDiscovery(const net::HostLink& link, quint16 port);

// The host window's line for each joined computer and the players it steers.
QStringList ComputerRows(const net::HostLink& link);
// The computers that watch, for the host window's line of them.
QStringList WatcherNames(const net::HostLink& link);
// The host window's line for each player 1..6: who steers it, or nothing
// for a player not in the match.
QStringList OwnerRows(const net::HostLink& link);
// Where a click on a player's line hands it: the next joined computer, or
// back to the host after the last.
net::ComputerId NextOwner(const net::HostLink& link, int player);
