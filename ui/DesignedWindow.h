#pragma once

#include <Qt>

class QCloseEvent;
class QString;
class QWidget;

// The frame every window of the game has: a title bar with a close box,
// no minimise or maximise box.
Qt::WindowFlags FixedFrame(Qt::WindowType type);

// Makes a window of the game out of a bare one: the title, the program's
// icon, a fixed client area and a black background. Its controls go into
// the design returned, a widget of the designed size that stays whole in the
// middle of whatever room the desktop gives the window. The window opens
// centred on the screen, or over the window it belongs to, unless moved
// before it was first shown, and comes back to that place every time it is
// shown again; its texts keep their designed
// size on whichever screen it is moved to.
QWidget* DesignWindow(QWidget& window, const QString& title, int width, int height);

// Answers a request to close a window that unloads the program: refused
// behind a modal window, accepted otherwise. True when accepted.
bool AcceptClose(const QWidget& window, QCloseEvent& event);
