#include "TickStream.h"

#include <utility>

namespace net {

namespace {

int TicksIn(const QList<Tick>& parts)
{
    int ticks = 0;
    for (const Tick& part : parts)
        ticks += part.last ? 1 : 0;
    return ticks;
}

} // namespace

void TickStream::Add(const QList<Tick>& parts)
{
    if (parts.isEmpty())
        return;
    ++last;
    pending += parts;
    kept += parts;
    while (TicksIn(kept) > TicksKept) {
        while (!kept.first().last)
            kept.removeFirst();
        kept.removeFirst();
    }
}

QList<TickBatch> TickStream::TakeDue(bool flush)
{
    if (pending.isEmpty() || (!flush && TicksIn(pending) < TicksPerDatagram))
        return {};
    const TickBatch both{previous + pending};
    QList<TickBatch> due;
    if (!previous.isEmpty() && !Encode(both).isEmpty())
        due = {both};
    else
        due = Batches(pending);
    previous = std::exchange(pending, {});
    return due;
}

QList<TickBatch> TickStream::Resend(std::uint32_t from) const
{
    if (kept.isEmpty() || from < kept.first().tick || from > last)
        return {};
    QList<Tick> parts;
    for (const Tick& part : kept) {
        if (part.tick >= from)
            parts.append(part);
    }
    return Batches(parts);
}

QList<TickBatch> Batches(const QList<Tick>& parts)
{
    QList<TickBatch> batches;
    TickBatch current;
    for (const Tick& part : parts) {
        current.ticks.append(part);
        if (current.ticks.size() <= MaxBatchTicks && !Encode(current).isEmpty())
            continue;
        current.ticks.removeLast();
        if (!current.ticks.isEmpty())
            batches.append(current);
        // Every part encodes alone, as the recorder cut it so.
        current.ticks = {part};
    }
    if (!current.ticks.isEmpty())
        batches.append(current);
    return batches;
}

} // namespace net
