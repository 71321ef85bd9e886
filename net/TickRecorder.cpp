#include "TickRecorder.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace net {

namespace {

// The field's boxes have small whole-pixel corners; anything beyond 16 bits
// is kept at the edge of what travels rather than wrapped around.
std::int16_t Corner(int value)
{
    using Limits = std::numeric_limits<std::int16_t>;
    return std::int16_t(std::clamp<int>(value, Limits::min(), Limits::max()));
}

} // namespace

TickRecorder::TickRecorder(Screens& shown, std::function<WinnerRow(std::int16_t)> winnerRow,
                           std::function<void()> beforeWinners)
    : shown(shown)
    , winnerRow(std::move(winnerRow))
    , beforeWinners(std::move(beforeWinners))
{
}

QList<Tick> TickRecorder::TakeTick(std::uint32_t number)
{
    if (events.isEmpty())
        return {};
    return SplitTick(number, std::exchange(events, QList<Event>()), std::exchange(fresh, false));
}

void TickRecorder::StartFresh()
{
    // What this tick noted so far goes out in full, being in the next tick.
    for (Event& event : events) {
        if (const auto* continued = std::get_if<ContinueSegment>(&event))
            event = *trails.Resolve(*continued);
        else if (const auto* stepped = std::get_if<StepSegment>(&event))
            event = *trails.Resolve(*stepped);
    }
    trails.Forget();
    for (const Event& event : std::as_const(events)) {
        if (const auto* segment = std::get_if<DrawSegment>(&event))
            trails.Drawn(*segment);
    }
    fresh = true;
}

void TickRecorder::SegmentDrawn(double x1, double y1, double x2, double y2, ColorRef color)
{
    const DrawSegment segment{x1, y1, x2, y2, color};
    if (const std::optional<Event> continued = trails.Continuing(segment))
        events.append(*continued);
    else
        events.append(segment);
    trails.Drawn(segment);
}

void TickRecorder::FrameDrawn(int x1, int y1, int x2, int y2, ColorRef color)
{
    events.append(DrawFrame{Corner(x1), Corner(y1), Corner(x2), Corner(y2), color});
}

void TickRecorder::BoxFilled(int x1, int y1, int x2, int y2, ColorRef color)
{
    events.append(FillBox{Corner(x1), Corner(y1), Corner(x2), Corner(y2), color});
}

void TickRecorder::Cleared()
{
    events.append(ClearPlayfield{});
}

void TickRecorder::ShowScore(std::int16_t slot, const QString& text)
{
    if (slot >= 0 && slot < PlayerCount)
        events.append(net::ShowScore{std::uint8_t(slot), text});
    shown.ShowScore(slot, text);
}

void TickRecorder::SetBannerCaption(const QString& caption)
{
    events.append(BannerCaption{caption});
    shown.SetBannerCaption(caption);
}

void TickRecorder::SetBannerVisible(bool visible)
{
    events.append(BannerVisible{visible});
    shown.SetBannerVisible(visible);
}

void TickRecorder::SetCreditColor(ColorRef color)
{
    events.append(CreditColor{color});
    shown.SetCreditColor(color);
}

void TickRecorder::HeadDied(std::int16_t slot)
{
    if (slot >= 0 && slot < PlayerCount)
        events.append(net::HeadDied{std::uint8_t(slot)});
    shown.HeadDied(slot);
}

void TickRecorder::ShowWinners(const QList<std::int16_t>& winners)
{
    Winners rows;
    for (const std::int16_t slot : winners)
        rows.rows.append(winnerRow(slot));
    events.append(rows);
    beforeWinners();
    shown.ShowWinners(winners);
}

namespace {

bool Travels(const Tick& part) { return !Encode(TickBatch{{part}}).isEmpty(); }

} // namespace

QList<Tick> SplitTick(std::uint32_t number, const QList<Event>& events, bool fresh)
{
    QList<Tick> parts;
    Tick current{number, {}, 0, false, fresh};
    for (const Event& event : events) {
        current.events.append(event);
        if (Travels(current))
            continue;
        current.events.removeLast();
        Tick alone = current;
        alone.events = {event};
        if (!Travels(alone))
            continue;
        if (!current.events.isEmpty()) {
            parts.append(current);
            // The table empties before the first part only.
            alone.part = std::uint8_t(current.part + 1);
            alone.fresh = false;
        }
        current = alone;
    }
    if (!current.events.isEmpty())
        parts.append(current);
    // Beyond the parts a tick may have, the rest waits for a repair.
    if (parts.size() > MaxTickParts)
        parts.resize(MaxTickParts);
    if (!parts.isEmpty())
        parts.last().last = true;
    return parts;
}

} // namespace net
