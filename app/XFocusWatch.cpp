#include "XFocusWatch.h"

#include <QCoreApplication>

#include <cstdint>

namespace {

// From the X protocol (xproto.h): an event's type is its first byte, the
// top bit set for one another client sent; a focus event's detail is its
// second byte.
constexpr std::uint8_t FocusOut = 10;
constexpr std::uint8_t SentByAClient = 0x80;
// The focus went to a window inside the one that had it: the keys still
// come to the game.
constexpr std::uint8_t NotifyInferior = 2;

} // namespace

XFocusWatch::XFocusWatch(std::function<void()> focusLeft)
    : focusLeft(std::move(focusLeft))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool XFocusWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const std::uint8_t*>(message);
    // Whether the window manager took the keyboard for itself (Alt+Tab) or
    // gave the focus to another window, releases go there from now on.
    if ((event[0] & ~SentByAClient) == FocusOut && event[1] != NotifyInferior)
        focusLeft();
    // Qt still handles it as ever.
    return false;
}
