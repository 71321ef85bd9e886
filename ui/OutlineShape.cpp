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
    QPainter painter(this);
    painter.setPen(QPen(borderColor, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
