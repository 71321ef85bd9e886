#pragma once

#include "Transport.h"

#include <QList>
#include <QMap>

#include <cstdint>
#include <deque>
#include <memory>

namespace net {

class FakeNetwork;

// One computer's transport on a FakeNetwork.
class FakeEndpoint final : public Transport
{
public:
    bool Send(PeerId peer, Channel channel, QByteArrayView data) override;
    std::optional<TransportEvent> Poll() override;
    void Disconnect(PeerId peer) override;

private:
    friend class FakeNetwork;
    struct Link
    {
        FakeEndpoint* other = nullptr;
        PeerId otherSide = 0; // this endpoint's id on the other one
    };
    explicit FakeEndpoint(FakeNetwork& network) : network(network) {}

    FakeNetwork& network;
    QMap<PeerId, Link> links;
    std::deque<TransportEvent> inbox;
    PeerId nextId = 1;
};

// Computers in one process, with a network between them that delays, drops
// and reorders as a real one does, the same way for the same seed. Time
// passes only in Advance(), one step at a time.
class FakeNetwork
{
public:
    struct Conditions
    {
        int minDelay = 0; // steps before a packet arrives
        int maxDelay = 0;
        int dropPercent = 0; // of unreliable packets
    };
    FakeNetwork(std::uint64_t seed, Conditions conditions);

    FakeEndpoint& AddEndpoint();
    // Connects two endpoints; each hears of it on its next Poll. Returns the
    // id b has on a.
    PeerId Connect(FakeEndpoint& a, FakeEndpoint& b);
    // Delivers what is due by now.
    void Advance();
    int Now() const { return now; }

private:
    friend class FakeEndpoint;
    struct InFlight
    {
        int due = 0;
        std::uint64_t order = 0;
        FakeEndpoint* to = nullptr;
        TransportEvent event;
    };
    void Carry(FakeEndpoint& to, TransportEvent event, bool mayDrop);
    std::uint64_t Random();

    Conditions conditions;
    std::uint64_t state;
    int now = 0;
    std::uint64_t sent = 0;
    // The reliable channel keeps its order: nothing on it arrives before
    // what was sent on it earlier to the same endpoint.
    QMap<FakeEndpoint*, int> lastReliableDue;
    QList<InFlight> inFlight;
    std::deque<std::unique_ptr<FakeEndpoint>> endpoints;
};

} // namespace net
