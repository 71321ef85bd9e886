#pragma once

#include "Transport.h"

#include <QHash>
#include <QHostAddress>

#include <memory>

struct _ENetHost;
struct _ENetPeer;

namespace net {

// The transport over ENet: one UDP port, a reliable and an unreliable
// channel, a bounded number of peers and of bytes per incoming packet.
class EnetTransport : public Transport
{
public:
    ~EnetTransport() override;

    // Listens on the port (0 for any free one) for up to maxPeers computers.
    static std::unique_ptr<EnetTransport> Listen(const QHostAddress& address, quint16 port, int maxPeers);
    // Starts connecting to a host; Poll() tells when it has answered.
    static std::unique_ptr<EnetTransport> Connect(const QHostAddress& host, quint16 port);

    // The port actually bound, once listening.
    quint16 Port() const;

    bool Send(PeerId peer, Channel channel, QByteArrayView data) override;
    std::optional<TransportEvent> Poll() override;
    void Disconnect(PeerId peer) override;
    void Flush() override;
    std::optional<qintptr> Socket() const override;

private:
    explicit EnetTransport(_ENetHost* host);
    PeerId Remember(_ENetPeer* peer);

    _ENetHost* host = nullptr;
    QHash<_ENetPeer*, PeerId> ids;
    QHash<PeerId, _ENetPeer*> peers;
    PeerId nextId = 1;
};

} // namespace net
