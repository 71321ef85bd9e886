#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <Qt>

class OutlineShape;
class QCloseEvent;
class QEvent;
class QLabel;
class QWidget;

// The rows of player controls on the game and setup windows stand this far
// apart.
inline constexpr int RowStep = 64;
// The large text of the designs: banner, options, rounds, Start and Exit, the
// winner window.
inline constexpr qreal BigText = 13.5;

// Controls are named as designed; a member of a control family carries its
// index, "Label1(2)".
QString FamilyName(const char* family, int index);

// A text label as the designs draw them: text across from the left or
// centred, starting at the top, wrapped at word ends within the label.
QLabel* MakeLabel(const QString& name, const QString& caption, const QRect& geometry,
                  qreal pointSize, Qt::Alignment across, QWidget* parent);

// A rectangle outline in the given colour.
OutlineShape* MakeOutline(const QString& name, const QColor& color, const QRect& geometry,
                          QWidget* parent);

void SetTextColor(QWidget* control, const QColor& color);
QColor TextColor(const QWidget* control);

// The frame every window of the game has: a title bar with a close box,
// no minimise or maximise box.
Qt::WindowFlags FixedFrame(Qt::WindowType type);

// Title, the program's icon, a fixed client area and a black background.
void DesignWindow(QWidget& window, const QString& title, int width, int height);

// Centres the window on its screen, the first time it is shown: a window's
// showEvent calls this with a flag of its own, and later shows leave the
// window where it is.
void CentreWhenFirstShown(QWidget& window, bool& placed);

// Answers a request to close a window that unloads the program: refused
// behind a modal window, accepted otherwise. True when accepted.
bool AcceptClose(const QWidget& window, QCloseEvent& event);

// What every designed window does with its own events: keeps its layout in
// the middle and its texts at their designed size on the screen it is on.
void DesignedWindowEvent(QWidget& window, const QEvent* event);
