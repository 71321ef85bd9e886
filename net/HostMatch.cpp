#include "HostMatch.h"

#include "Module1.h"
#include "Playfield.h"

namespace net {

HostMatch::HostMatch(Transport& transport, HostFacts facts, Screens& shown,
                     std::function<WinnerRow(std::int16_t)> winnerRow)
    : link(transport, std::move(facts), false)
    // The winner window returns only once the next match has started: what
    // the tick did before it must be on its way first.
    , recorder(shown, std::move(winnerRow), [this] { link.SendTick(recorder.TakeTick(link.NextTick()), true); })
{
    link.OnStreamRestarts([this] { recorder.StartFresh(); });
}

void HostMatch::Watch(Playfield& watched)
{
    watched.SetObserver(&recorder);
    field = &watched;
}

void HostMatch::EndTick(const Module1& match)
{
    const QList<Tick> parts = recorder.TakeTick(link.NextTick());
    link.SendTick(parts, parts.isEmpty());
    if (field && ++ticks % TicksPerCheck == 0)
        link.SendHashCheck(field->Image(), RecordsOf(match));
    Serve();
}

void HostMatch::Serve()
{
    link.Serve(field ? field->Image() : QImage());
}

ShownRecords RecordsOf(const Module1& match)
{
    ShownRecords records{};
    for (int slot = 0; slot < PlayerCount; ++slot)
        records[slot] = {match.Players[std::size_t(slot)].Score, match.Players[std::size_t(slot)].Dead};
    return records;
}

} // namespace net
