#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <cstdint>
#include <optional>

namespace net {

// One connection as its transport numbers it; never reused while the
// transport lives.
using PeerId = std::uint32_t;

enum class Channel : std::uint8_t {
    Reliable,   // arrives once, in order: joining, seats, repairs, goodbyes
    Unreliable, // may be lost or overtaken: the tick stream, turn keys
};
inline constexpr int ChannelCount = 2;

struct TransportEvent
{
    enum class Kind { Connected, Received, Disconnected };
    Kind kind = Kind::Received;
    PeerId peer = 0;
    Channel channel = Channel::Reliable;
    QByteArray data; // what was received, untrusted
};

// Carries datagrams between the host and the joined computers. Polled from
// the game's own loop, so nothing arrives on another thread.
class Transport
{
public:
    virtual ~Transport() = default;

    // False when the peer is unknown or the packet could not be queued.
    virtual bool Send(PeerId peer, Channel channel, QByteArrayView data) = 0;
    // The next thing that happened, without waiting.
    virtual std::optional<TransportEvent> Poll() = 0;
    // Ends a connection; the peer learns it, this side gets no event for it.
    virtual void Disconnect(PeerId peer) = 0;
    // Sends what is queued now rather than at the next Poll().
    virtual void Flush() {}
    // The socket whose readiness to read means Poll() has something, where
    // there is one to watch.
    virtual std::optional<qintptr> Socket() const { return std::nullopt; }
};

} // namespace net
