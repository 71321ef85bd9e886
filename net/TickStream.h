#pragma once

#include "Packet.h"

#include <QList>

namespace net {

// The host's tick stream as datagrams: the ticks go out two at a time, each
// datagram carrying the two before again, so a single lost datagram costs
// a joined computer nothing but 20 ms; the last ticks are kept to send
// again to one that lost two in a row.
class TickStream
{
public:
    static constexpr int TicksPerDatagram = 2;
    // Two and a half seconds: far more than a round trip and a resend.
    static constexpr int TicksKept = 256;

    // The number the next tick with something in it gets.
    std::uint32_t Next() const { return last + 1; }
    // The number of the last tick added: what the host's field shows now.
    std::uint32_t Last() const { return last; }

    // A tick's parts, numbered Next().
    void Add(const QList<Tick>& parts);
    // What is due to go out; everything added when flush is set, as the
    // stream pauses and no later datagram would carry it again.
    QList<TickBatch> TakeDue(bool flush);
    // The kept ticks from this number on; nothing when it is no longer
    // (or not yet) kept.
    QList<TickBatch> Resend(std::uint32_t from) const;

private:
    std::uint32_t last = 0;
    QList<Tick> pending;  // parts added, not yet sent
    QList<Tick> previous; // the parts the last datagram brought first
    QList<Tick> kept;     // the parts of the last TicksKept ticks
};

// Packs parts into as few batches as encode, in order.
QList<TickBatch> Batches(const QList<Tick>& parts);

} // namespace net
