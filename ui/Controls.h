#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <Qt>

class QLabel;
class QWidget;

// Controls are named as designed; a member of a control family carries its
// index, "Label1(2)".
QString FamilyName(const char* family, int index);

// A text label as the designs draw them: text across from the left or
// centred, starting at the top, wrapped at word ends within the label.
QLabel* MakeLabel(const QString& name, const QString& caption, const QRect& geometry,
                  qreal pointSize, Qt::Alignment across, QWidget* parent);

void SetTextColor(QWidget* control, const QColor& color);
QColor TextColor(const QWidget* control);

// The frame every window of the game has: a title bar with a close box,
// no minimise or maximise box.
Qt::WindowFlags FixedFrame(Qt::WindowType type);

// Title, the program's icon, a fixed client area and a black background.
void DesignWindow(QWidget& window, const QString& title, int width, int height);

// Centres the window on its screen. The frame is known here on most
// platforms, and only after mapping on X11; then the client area is centred.
void CentreOnScreen(QWidget& window);
