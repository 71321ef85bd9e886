#pragma once

#include "Packet.h"

#include <QMap>

#include <optional>

namespace net {

// A joined computer's ticks put back in order: parts arrive in batches,
// some twice, some not at all; a tick is replayed only whole and only after
// the one before it.
class TickQueue
{
public:
    // Ticks beyond this many after the last one replayed are not held.
    static constexpr std::uint32_t MaxWaiting = 256;

    // A part as it arrived; one already replayed, or far ahead, is dropped.
    // Until a tick is replayed, the first part that arrives tells where the
    // stream stands.
    void Add(const Tick& part);
    // The next tick's parts in order, once all are here.
    std::optional<QList<Tick>> TakeNext();
    // The first tick missing while a later one is here: both datagrams
    // that carried it were lost.
    std::optional<std::uint32_t> Hole() const;
    // The last tick replayed, once the stream's place is known.
    std::optional<std::uint32_t> Replayed() const { return replayed; }
    // The field now is as after this tick (a repair, or a check before any
    // tick came): go on from the one after. Returns the parts of the ticks
    // up to it that were here, in order, for what they showed.
    QList<Tick> GoOnAfter(std::uint32_t tick);

private:
    bool Whole(std::uint32_t tick) const;

    std::optional<std::uint32_t> replayed;
    QMap<std::uint32_t, QMap<std::uint8_t, Tick>> waiting; // by tick, then part
};

} // namespace net
