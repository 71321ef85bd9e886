#pragma once

#include <QByteArrayView>

// What a Wayland desktop with Xwayland beside it tells programs of its scale,
// learnt before Qt opens either. Each answer is 0 when it could not be
// learnt, and the probes print nothing.

// The largest whole-number scale among the Wayland desktop's outputs: a
// desktop at 125 % or 150 % gives 2, as it asks its clients to draw at 2x.
int WaylandOutputScale();

// The dots per inch the X server gives its programs (Xft.dpi in its
// resources, which is what Qt takes as the scale), 96 where it gives none.
int XServerDpi();

// Xft.dpi as written in the X resources, or 0 where they hold none.
int XftDpi(QByteArrayView resources);
