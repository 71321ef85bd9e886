#include "OutlineShape.h"

#include <QPainter>

OutlineShape::OutlineShape(const QColor& borderColor, QWidget* parent)
    : QWidget(parent), borderColor(borderColor)
{
    // Whatever lies under it shows through and mouse events pass to it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OutlineShape::SetBorderColor(const QColor& color)
{
    borderColor = color;
    update();
}

void OutlineShape::paintEvent(QPaintEvent*)
{
    // Four filled edges one pixel deep: on a scaled screen the border grows
    // with the window, where a pen would stay one device pixel thin.
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, 1, borderColor);
    painter.fillRect(0, h - 1, w, 1, borderColor);
    painter.fillRect(0, 0, 1, h, borderColor);
    painter.fillRect(w - 1, 0, 1, h, borderColor);
}
