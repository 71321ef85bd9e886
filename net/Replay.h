#pragma once

#include "Packet.h"

class Playfield;

namespace net {

// Makes on a joined computer's playfield the drawing call the host made, so
// the same build paints the same pixels. False for an event that draws
// nothing (what the screens show), which the caller passes on to them.
bool ReplayDrawing(const Event& event, Playfield& field);

} // namespace net
