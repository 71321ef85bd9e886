#pragma once

#include "Packet.h"

#include <QList>

#include <optional>

namespace net {

// Where each trail of the tick stream last ended, so a segment that carries
// on from there travels as a ContinueSegment. Host and joined computer keep
// the same table by the same rules from the same events: a trail per colour,
// numbered in the order colours first drew since the table was emptied, at
// most MaxTrails of them.
class TrailEnds
{
public:
    // The segment as it carries on its trail (a StepSegment where it can, a
    // ContinueSegment otherwise), or nothing when it starts elsewhere.
    std::optional<Event> Continuing(const DrawSegment& segment) const;
    // The whole segment a continuing one stands for; nothing for a trail
    // the table does not hold, or steps that lead nowhere a float can be.
    std::optional<DrawSegment> Resolve(const ContinueSegment& segment) const;
    std::optional<DrawSegment> Resolve(const StepSegment& segment) const;
    // A segment was drawn: its colour's trail now ends where it ends.
    void Drawn(const DrawSegment& segment);
    void Forget() { trails.clear(); }

private:
    struct Trail
    {
        ColorRef color = 0;
        double x = 0, y = 0;
    };
    QList<Trail> trails;
};

} // namespace net
