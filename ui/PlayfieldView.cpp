#include "PlayfieldView.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

PlayfieldView::PlayfieldView(const QImage& image, QWidget* parent)
    : QWidget(parent), image(image)
{
    setFocusPolicy(Qt::StrongFocus);
    // The image covers every pixel, so no background is painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlayfieldView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // Scaled screens get whole blocks per pixel, never blurred trails.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const QRect& area : event->region())
        painter.drawImage(area, image, area);
}

void PlayfieldView::keyPressEvent(QKeyEvent* event)
{
    emit KeyDown(event);
}

void PlayfieldView::keyReleaseEvent(QKeyEvent* event)
{
    emit KeyUp(event);
}

void PlayfieldView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    emit FocusLost();
}
