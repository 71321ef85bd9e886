#pragma once

#include <QFont>

class QScreen;
class QWidget;

// Every text of the game is designed in "MS Sans Serif" at normal weight;
// where the system lacks it, a free font with close widths and Czech letters
// stands in at the same point size. The sizes are points at 100 %: on a
// scaled screen the text takes as many pixels as the layout's whole scale
// gives it, never a share of the fraction the scale was rounded from.
QFont DesignFont(qreal pointSize, const QScreen* screen);

// Gives a control (or a window, for the controls without a font of their
// own) its designed text size on the screen it is on, and remembers the size
// so the text can follow the window to another screen.
void SetDesignFont(QWidget* control, qreal pointSize);

// The window has moved to another screen, whose scale may differ: every
// text in it takes its designed size there.
void FollowScreen(QWidget& window);
