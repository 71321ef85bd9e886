#include "EnetTransport.h"

#include "Packet.h"

#include <QtEndian>

#include <enet/enet.h>

namespace net {

namespace {

// ENet's global set-up, held while any transport lives.
int enetUsers = 0;

bool AcquireEnet()
{
    if (enetUsers == 0 && enet_initialize() != 0)
        return false;
    ++enetUsers;
    return true;
}

void ReleaseEnet()
{
    if (--enetUsers == 0)
        enet_deinitialize();
}

std::optional<ENetAddress> ToEnetAddress(const QHostAddress& address, quint16 port)
{
    // Debian's ENet speaks IPv4 only.
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);
    if (!isIpv4)
        return std::nullopt;
    ENetAddress enetAddress{};
    // ENet keeps the host in network byte order.
    enetAddress.host = qToBigEndian(ipv4);
    enetAddress.port = port;
    return enetAddress;
}

// A computer that stops answering is given up within three seconds, so its
// seats come back to the host (or the host's loss is told) that soon.
// ENet notices a silent peer only at a resend of a reliable packet it does
// not acknowledge, each resend waiting twice as long as the one before; when
// nothing else is under way that packet is its ping. It gives up once a
// packet has gone unanswered since its last resend for TimeoutMinimumMs and
// its resend wait has doubled at least once (the limit of 2), or for
// TimeoutMaximumMs in any case. A lost packet is resent several times before
// that, so loss alone never ends a connection.
constexpr enet_uint32 TimeoutLimit = 2;
constexpr enet_uint32 TimeoutMinimumMs = 600;
constexpr enet_uint32 TimeoutMaximumMs = 2500;
constexpr enet_uint32 PingIntervalMs = 200;
// Room for one whole image repair per peer, and no more, while it waits to
// be put together.
constexpr size_t MaximumWaitingData = 2 * MaxRepairChunks * MaxPacket;

} // namespace

EnetTransport::EnetTransport(ENetHost* host)
    : host(host)
{
    host->maximumPacketSize = MaxPacket;
    host->maximumWaitingData = MaximumWaitingData;
}

EnetTransport::~EnetTransport()
{
    // Tell every peer now rather than let it time out.
    for (ENetPeer* peer : std::as_const(peers))
        enet_peer_disconnect_now(peer, 0);
    enet_host_flush(host);
    enet_host_destroy(host);
    ReleaseEnet();
}

std::unique_ptr<EnetTransport> EnetTransport::Listen(const QHostAddress& address, quint16 port, int maxPeers)
{
    const std::optional<ENetAddress> enetAddress = ToEnetAddress(address, port);
    if (!enetAddress || maxPeers < 1 || maxPeers > MaxComputers + 1 || !AcquireEnet())
        return nullptr;
    ENetHost* host = enet_host_create(&*enetAddress, size_t(maxPeers), ChannelCount, 0, 0);
    if (!host) {
        ReleaseEnet();
        return nullptr;
    }
    return std::unique_ptr<EnetTransport>(new EnetTransport(host));
}

std::unique_ptr<EnetTransport> EnetTransport::Connect(const QHostAddress& address, quint16 port)
{
    const std::optional<ENetAddress> enetAddress = ToEnetAddress(address, port);
    if (!enetAddress || port == 0 || !AcquireEnet())
        return nullptr;
    ENetHost* host = enet_host_create(nullptr, 1, ChannelCount, 0, 0);
    if (!host) {
        ReleaseEnet();
        return nullptr;
    }
    std::unique_ptr<EnetTransport> transport(new EnetTransport(host));
    if (!enet_host_connect(host, &*enetAddress, ChannelCount, 0))
        return nullptr;
    return transport;
}

quint16 EnetTransport::Port() const
{
    ENetAddress address{};
    if (enet_socket_get_address(host->socket, &address) != 0)
        return 0;
    return address.port;
}

PeerId EnetTransport::Remember(ENetPeer* peer)
{
    const auto known = ids.constFind(peer);
    if (known != ids.constEnd())
        return *known;
    const PeerId id = nextId++;
    ids.insert(peer, id);
    peers.insert(id, peer);
    enet_peer_timeout(peer, TimeoutLimit, TimeoutMinimumMs, TimeoutMaximumMs);
    enet_peer_ping_interval(peer, PingIntervalMs);
    return id;
}

bool EnetTransport::Send(PeerId peerId, Channel channel, QByteArrayView data)
{
    ENetPeer* peer = peers.value(peerId);
    const bool reliable = channel == Channel::Reliable;
    if (!peer || data.isEmpty() || data.size() > (reliable ? MaxPacket : MaxDatagram))
        return false;
    ENetPacket* packet = enet_packet_create(data.data(), size_t(data.size()),
        reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (!packet)
        return false;
    if (enet_peer_send(peer, enet_uint8(channel), packet) != 0) {
        enet_packet_destroy(packet);
        return false;
    }
    return true;
}

std::optional<TransportEvent> EnetTransport::Poll()
{
    ENetEvent event;
    // Also sends what Send() queued.
    while (enet_host_service(host, &event, 0) > 0) {
        switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            return TransportEvent{TransportEvent::Kind::Connected, Remember(event.peer), Channel::Reliable, {}};
        case ENET_EVENT_TYPE_RECEIVE: {
            const QByteArray data(reinterpret_cast<const char*>(event.packet->data), qsizetype(event.packet->dataLength));
            enet_packet_destroy(event.packet);
            const auto known = ids.constFind(event.peer);
            // Only from a connection this side still has, on a channel it made.
            if (known == ids.constEnd() || event.channelID >= ChannelCount)
                continue;
            return TransportEvent{TransportEvent::Kind::Received, *known, Channel(event.channelID), data};
        }
        case ENET_EVENT_TYPE_DISCONNECT: {
            const auto known = ids.constFind(event.peer);
            if (known == ids.constEnd())
                continue; // one this side ended itself
            const PeerId id = *known;
            ids.remove(event.peer);
            peers.remove(id);
            return TransportEvent{TransportEvent::Kind::Disconnected, id, Channel::Reliable, {}};
        }
        case ENET_EVENT_TYPE_NONE:
            break;
        }
    }
    return std::nullopt;
}

void EnetTransport::Disconnect(PeerId peerId)
{
    ENetPeer* peer = peers.take(peerId);
    if (!peer)
        return;
    ids.remove(peer);
    enet_peer_disconnect(peer, 0);
}

void EnetTransport::Flush()
{
    enet_host_flush(host);
}

std::optional<qintptr> EnetTransport::Socket() const
{
    return qintptr(host->socket);
}

} // namespace net
