#include "TrailEnds.h"

#include <bit>

namespace net {

namespace {

// The very same number, -0 apart from 0, as the joined computer draws
// from the trail's end and not from the segment's start.
bool Same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

} // namespace

std::optional<ContinueSegment> TrailEnds::Continuing(const DrawSegment& segment) const
{
    // Only what floats carry exactly, as a continuing segment's end travels
    // in floats.
    if (double(float(segment.x2)) != segment.x2 || double(float(segment.y2)) != segment.y2)
        return std::nullopt;
    for (qsizetype i = 0; i < trails.size(); ++i) {
        const Trail& trail = trails[i];
        if (trail.color == segment.color)
            return Same(trail.x, segment.x1) && Same(trail.y, segment.y1)
                ? std::optional(ContinueSegment{std::uint8_t(i), segment.x2, segment.y2})
                : std::nullopt;
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
