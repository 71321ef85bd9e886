#include "TrailEnds.h"

#include <bit>

namespace net {

namespace {

// The very same number, -0 apart from 0, as the joined computer draws
// from the trail's end and not from the segment's start.
bool Same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

bool IsFloat(double value) { return double(float(value)) == value; }

// A float's place among the floats of its sign, counted from +0 or -0.
struct FloatPlace
{
    bool negative = false;
    std::int64_t index = 0;
};
FloatPlace PlaceOf(float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return {(bits & 0x80000000u) != 0, std::int64_t(bits & 0x7FFFFFFFu)};
}

// How many floats lie from one to the other, when both have one sign and
// that fits a step.
std::optional<std::int32_t> Steps(double from, double to)
{
    const FloatPlace a = PlaceOf(float(from));
    const FloatPlace b = PlaceOf(float(to));
    const std::int64_t steps = b.index - a.index;
    if (a.negative != b.negative || steps < -MaxFloatSteps - 1 || steps > MaxFloatSteps)
        return std::nullopt;
    return std::int32_t(a.negative ? -steps : steps);
}

// The float so many steps from another, within the coordinates a segment
// may have.
std::optional<double> Stepped(double from, std::int32_t steps)
{
    const FloatPlace a = PlaceOf(float(from));
    const std::int64_t index = a.index + (a.negative ? -steps : steps);
    const std::int64_t limit = std::bit_cast<std::uint32_t>(float(MaxCoordinate));
    if (index < 0 || index > limit)
        return std::nullopt;
    const auto bits = std::uint32_t(index) | (a.negative ? 0x80000000u : 0u);
    return double(std::bit_cast<float>(bits));
}

} // namespace

std::optional<Event> TrailEnds::Continuing(const DrawSegment& segment) const
{
    // Only what floats carry exactly, as a continuing segment's end travels
    // in floats.
    if (!IsFloat(segment.x2) || !IsFloat(segment.y2))
        return std::nullopt;
    for (qsizetype i = 0; i < trails.size(); ++i) {
        const Trail& trail = trails[i];
        if (trail.color != segment.color)
            continue;
        if (!Same(trail.x, segment.x1) || !Same(trail.y, segment.y1))
            return std::nullopt;
        const auto number = std::uint8_t(i);
        if (IsFloat(trail.x) && IsFloat(trail.y)) {
            const std::optional<std::int32_t> dx = Steps(trail.x, segment.x2);
            const std::optional<std::int32_t> dy = Steps(trail.y, segment.y2);
            if (dx && dy)
                return StepSegment{number, *dx, *dy};
        }
        return ContinueSegment{number, segment.x2, segment.y2};
    }
    return std::nullopt;
}

std::optional<DrawSegment> TrailEnds::Resolve(const ContinueSegment& segment) const
{
    if (segment.trail >= trails.size())
        return std::nullopt;
    const Trail& trail = trails[segment.trail];
    return DrawSegment{trail.x, trail.y, segment.x2, segment.y2, trail.color};
}

std::optional<DrawSegment> TrailEnds::Resolve(const StepSegment& segment) const
{
    if (segment.trail >= trails.size())
        return std::nullopt;
    const Trail& trail = trails[segment.trail];
    if (!IsFloat(trail.x) || !IsFloat(trail.y))
        return std::nullopt;
    const std::optional<double> x = Stepped(trail.x, segment.dx);
    const std::optional<double> y = Stepped(trail.y, segment.dy);
    if (!x || !y)
        return std::nullopt;
    return DrawSegment{trail.x, trail.y, *x, *y, trail.color};
}

void TrailEnds::Drawn(const DrawSegment& segment)
{
    for (Trail& trail : trails) {
        if (trail.color == segment.color) {
            trail.x = segment.x2;
            trail.y = segment.y2;
            return;
        }
    }
    if (trails.size() < MaxTrails)
        trails.append({segment.color, segment.x2, segment.y2});
}

} // namespace net
