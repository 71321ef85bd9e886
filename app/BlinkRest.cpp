#include "BlinkRest.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

BlinkRest::BlinkRest(int restAfterMs)
    : flashTime(QGuiApplication::styleHints()->cursorFlashTime())
{
    rest.setSingleShot(true);
    rest.setInterval(restAfterMs);
    connect(&rest, &QTimer::timeout, this, [this] { Blink(false); });
    rest.start();
    QCoreApplication::instance()->installEventFilter(this);
}

BlinkRest::~BlinkRest()
{
    Blink(true);
}

bool BlinkRest::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        Blink(true);
        rest.start();
        break;
    default:
        break;
    }
    return false;
}

void BlinkRest::Blink(bool on)
{
    // Every box follows the change at once; none blinks with no time.
    QStyleHints* hints = QGuiApplication::styleHints();
    const int wanted = on ? flashTime : 0;
    if (hints->cursorFlashTime() != wanted)
        hints->setCursorFlashTime(wanted);
}
