#include "TickQueue.h"

namespace net {

void TickQueue::Add(const Tick& part)
{
    // Tick numbers start at 1.
    if (part.tick == 0)
        return;
    if (!replayed)
        replayed = part.tick - 1;
    if (part.tick <= *replayed || part.tick - *replayed > MaxWaiting)
        return;
    waiting[part.tick].insert(part.part, part);
}

bool TickQueue::Whole(std::uint32_t tick) const
{
    const auto parts = waiting.constFind(tick);
    if (parts == waiting.cend() || parts->isEmpty())
        return false;
    // Parts are numbered from 0; the last says it is.
    const Tick& last = parts->last();
    return last.last && parts->size() == last.part + 1;
}

std::optional<QList<Tick>> TickQueue::TakeNext()
{
    if (!replayed || !Whole(*replayed + 1))
        return std::nullopt;
    ++*replayed;
    return waiting.take(*replayed).values();
}

std::optional<std::uint32_t> TickQueue::Hole() const
{
    if (!replayed || waiting.isEmpty() || Whole(*replayed + 1))
        return std::nullopt;
    // Only what follows it shows it lost; the newest tick may still be
    // coming in parts.
    if (waiting.lastKey() == *replayed + 1)
        return std::nullopt;
    return *replayed + 1;
}

QList<Tick> TickQueue::GoOnAfter(std::uint32_t tick)
{
    replayed = tick;
    QList<Tick> passed;
    while (!waiting.isEmpty() && waiting.firstKey() <= tick)
        passed += waiting.take(waiting.firstKey()).values();
    return passed;
}

} // namespace net
