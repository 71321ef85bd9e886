#include "Replay.h"

#include "Playfield.h"

namespace net {

bool ReplayDrawing(const Event& event, Playfield& field)
{
    if (const auto* segment = std::get_if<DrawSegment>(&event)) {
        field.DrawSegment(segment->x1, segment->y1, segment->x2, segment->y2, segment->color);
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
