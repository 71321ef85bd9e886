#include "FakeNetwork.h"

#include <algorithm>

namespace net {

bool FakeEndpoint::Send(PeerId peer, Channel channel, QByteArrayView data)
{
    const auto link = links.constFind(peer);
    if (link == links.constEnd() || data.isEmpty())
        return false;
    network.Carry(*link->other,
        TransportEvent{TransportEvent::Kind::Received, link->otherSide, channel, data.toByteArray()},
        channel == Channel::Unreliable);
    return true;
}

std::optional<TransportEvent> FakeEndpoint::Poll()
{
    if (inbox.empty())
        return std::nullopt;
    TransportEvent event = std::move(inbox.front());
    inbox.pop_front();
    return event;
}

void FakeEndpoint::Disconnect(PeerId peer)
{
    const auto link = links.constFind(peer);
    if (link == links.constEnd())
        return;
    network.Carry(*link->other, TransportEvent{TransportEvent::Kind::Disconnected, link->otherSide, Channel::Reliable, {}}, false);
    link->other->links.remove(link->otherSide);
    links.remove(peer);
}

FakeNetwork::FakeNetwork(std::uint64_t seed, Conditions conditions)
    : conditions(conditions)
    , state(seed)
{
}

FakeEndpoint& FakeNetwork::AddEndpoint()
{
    endpoints.push_back(std::unique_ptr<FakeEndpoint>(new FakeEndpoint(*this)));
    return *endpoints.back();
}

PeerId FakeNetwork::Connect(FakeEndpoint& a, FakeEndpoint& b)
{
    const PeerId onA = a.nextId++;
    const PeerId onB = b.nextId++;
    a.links.insert(onA, {&b, onB});
    b.links.insert(onB, {&a, onA});
    a.inbox.push_back({TransportEvent::Kind::Connected, onA, Channel::Reliable, {}});
    b.inbox.push_back({TransportEvent::Kind::Connected, onB, Channel::Reliable, {}});
    return onA;
}

std::uint64_t FakeNetwork::Random()
{
    // splitmix64: the same numbers from the same seed on every machine.
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

void FakeNetwork::Carry(FakeEndpoint& to, TransportEvent event, bool mayDrop)
{
    if (mayDrop && int(Random() % 100) < conditions.dropPercent)
        return;
    const int spread = conditions.maxDelay - conditions.minDelay + 1;
    int due = now + conditions.minDelay + int(Random() % std::uint64_t(std::max(spread, 1)));
    if (!mayDrop) {
        int& last = lastReliableDue[&to];
        due = std::max(due, last);
        last = due;
    }
    inFlight.append({due, sent++, &to, std::move(event)});
}

void FakeNetwork::Advance()
{
    ++now;
    // Due ones in the order they are due, and among those as they were sent.
    std::stable_sort(inFlight.begin(), inFlight.end(),
        [](const InFlight& a, const InFlight& b) { return a.due != b.due ? a.due < b.due : a.order < b.order; });
    while (!inFlight.isEmpty() && inFlight.front().due <= now) {
        InFlight packet = inFlight.takeFirst();
        packet.to->inbox.push_back(std::move(packet.event));
    }
}

} // namespace net
