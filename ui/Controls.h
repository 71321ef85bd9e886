#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <Qt>

class OutlineShape;
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

// The same in white, as the windows of network play write their texts.
QLabel* MakeWhiteLabel(const QString& name, const QString& caption, const QRect& geometry,
                       qreal pointSize, Qt::Alignment across, QWidget* parent);

// A rectangle outline in the given colour.
OutlineShape* MakeOutline(const QString& name, const QColor& color, const QRect& geometry,
                          QWidget* parent);

// Text and tick boxes are drawn on black in their own colour; the tick
// square itself stays white with a black tick, and a text box keeps a grey
// sunken edge so it can be found on the black window.
void PaintBox(QWidget* box, const QColor& color);

template <class Box>
Box* MakeBox(const QString& name, const QString& text, const QRect& geometry, const QColor& color,
             QWidget* parent)
{
    auto* box = new Box(text, parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    PaintBox(box, color);
    return box;
}

void SetTextColor(QWidget* control, const QColor& color);
QColor TextColor(const QWidget* control);
