#include "Replay.h"

#include "Playfield.h"
#include "TrailEnds.h"

namespace net {

namespace {

void DrawTrail(const DrawSegment& segment, Playfield& field, TrailEnds& trails)
{
    field.DrawSegment(segment.x1, segment.y1, segment.x2, segment.y2, segment.color);
    trails.Drawn(segment);
}

} // namespace

bool Draws(const Event& event)
{
    return std::holds_alternative<DrawSegment>(event) || std::holds_alternative<ContinueSegment>(event)
        || std::holds_alternative<StepSegment>(event)
        || std::holds_alternative<DrawFrame>(event) || std::holds_alternative<FillBox>(event)
        || std::holds_alternative<ClearPlayfield>(event);
}

bool ReplayDrawing(const Event& event, Playfield& field, TrailEnds& trails)
{
    if (const auto* segment = std::get_if<DrawSegment>(&event)) {
        DrawTrail(*segment, field, trails);
    } else if (const auto* continued = std::get_if<ContinueSegment>(&event)) {
        // A trail not known here draws nothing; the next check tells.
        if (const std::optional<DrawSegment> segment = trails.Resolve(*continued))
            DrawTrail(*segment, field, trails);
    } else if (const auto* stepped = std::get_if<StepSegment>(&event)) {
        if (const std::optional<DrawSegment> segment = trails.Resolve(*stepped))
            DrawTrail(*segment, field, trails);
    } else if (const auto* frame = std::get_if<DrawFrame>(&event)) {
        field.DrawFrame(frame->x1, frame->y1, frame->x2, frame->y2, frame->color);
    } else if (const auto* box = std::get_if<FillBox>(&event)) {
        field.FillBox(box->x1, box->y1, box->x2, box->y2, box->color);
    } else if (std::holds_alternative<ClearPlayfield>(event)) {
        field.ClearPlayfield();
    } else {
        return false;
    }
    return true;
}

} // namespace net
