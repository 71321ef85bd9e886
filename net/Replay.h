#pragma once

#include "Packet.h"

class Playfield;

namespace net {

class TrailEnds;

// Makes on a joined computer's playfield the drawing call the host made, so
// the same build paints the same pixels. False for an event that draws
// nothing (what the screens show), which the caller passes on to them.
// Whether the event is a drawing call (or what the screens show).
bool Draws(const Event& event);
// trails: the stream's, kept up to date by every segment.
bool ReplayDrawing(const Event& event, Playfield& field, TrailEnds& trails);

} // namespace net
