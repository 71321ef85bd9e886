#pragma once

#include "ColorRef.h"
#include "DrawingObserver.h"

#include <QImage>
#include <QList>
#include <QPainter>

struct PlayerRecord;

// The playfield is both the picture and the only record of the trails:
// collisions are found by reading back single pixels, so every drawing is
// aliased and overwrites with the exact colour.
class Playfield
{
public:
    static constexpr int Size = 450;

    Playfield();
    Playfield(const Playfield&) = delete;
    Playfield& operator=(const Playfield&) = delete;

    static constexpr int PenWidth = 2;

    void DrawSegment(double x1, double y1, double x2, double y2, ColorRef color);
    // Outline of the rectangle with corners (x1, y1) and (x2, y2).
    void DrawFrame(int x1, int y1, int x2, int y2, ColorRef color);
    // Outline and inside, so the box reaches a pixel beyond its top-left corner.
    void FillBox(int x1, int y1, int x2, int y2, ColorRef color);
    void ClearPlayfield();

    // Told of every drawing call from now on; nullptr: nobody is.
    void SetObserver(DrawingObserver* listener) { observer = listener; }
    // Puts a whole picture of the field in place of this one: a joined
    // computer's repair from the host's image. False, and nothing changes,
    // when it is not exactly the field's size.
    bool Restore(const QImage& picture);

    // The colour of one pixel, or OffField outside the surface.
    ColorRef ReadPixel(int x, int y) const;

    const QImage& Image() const { return image; }

    // The areas drawn on since the last call, so a view repaints only those.
    // They may overlap.
    QList<QRect> TakeChanged();

private:
    void Touch(const QRect& area);
    void Fill(int x1, int y1, int x2, int y2, ColorRef color);

    QImage image;
    QPainter painter;
    QList<QRect> changed;
    // The areas drawn on since the frame was last drawn. Drawing the same
    // frame again changes pixels only where one of them crosses its band: a
    // cave-in cuts a gap in the frame, the next tick's frame closes it, and
    // those pixels must be repainted; the rest of the frame is on screen
    // already.
    QList<QRect> drawnSinceFrame;
    QRect lastFrame;
    ColorRef lastFrameColor = Black;
    DrawingObserver* observer = nullptr;
};

// The pixel one step ahead of the head along each axis it moves in:
// diagonally ahead for almost every heading, straight ahead along an axis.
QPoint PixelAhead(const PlayerRecord& player);

// Colour of that pixel: what the head is about to run into.
ColorRef ProbeAhead(const Playfield& field, const PlayerRecord& player);
