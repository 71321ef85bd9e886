#pragma once

#include "ShownColours.h"

#include <QImage>
#include <QRect>

// The playfield of a screenshot seen as blocks of scale x scale screen
// pixels, one block per game pixel.
struct PlayfieldBlocks
{
    int split = 0; // blocks not all of one colour
    int white = 0;
    int trail = 0; // neither white nor black
};

// The field's side is 450 game pixels from the shot's top-left corner; the
// level banner, should the round be over already, is text over the field,
// not part of it, and is left out.
inline PlayfieldBlocks CountPlayfieldBlocks(const QImage& shot, int scale)
{
    PlayfieldBlocks blocks;
    const int side = 450 * scale;
    const QRect banner(QPoint(112, 184) * scale, QSize(209, 25) * scale);
    for (int y = 0; y < side; y += scale) {
        for (int x = 0; x < side; x += scale) {
            if (banner.contains(x, y))
                continue;
            const QRgb pixel = shot.pixel(x, y);
            bool whole = true;
            for (int dy = 0; dy < scale && whole; ++dy)
                for (int dx = 0; dx < scale && whole; ++dx)
                    whole = shot.pixel(x + dx, y + dy) == pixel;
            blocks.split += !whole;
            if (pixel == Shown::White)
                ++blocks.white;
            else if (pixel != Shown::Black)
                ++blocks.trail;
        }
    }
    return blocks;
}
