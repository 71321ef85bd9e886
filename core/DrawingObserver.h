#pragma once

#include "ColorRef.h"

// Hears each drawing call the playfield makes, as it was made, so a host can
// pass its field on without the rules knowing anybody watches.
class DrawingObserver
{
public:
    virtual ~DrawingObserver() = default;

    virtual void SegmentDrawn(double x1, double y1, double x2, double y2, ColorRef color) = 0;
    virtual void FrameDrawn(int x1, int y1, int x2, int y2, ColorRef color) = 0;
    virtual void BoxFilled(int x1, int y1, int x2, int y2, ColorRef color) = 0;
    virtual void Cleared() = 0;
};
