#pragma once

#include <QAbstractNativeEventFilter>

#include <functional>

// Qt's X11 platform reports a window of the game inactive only about a tenth
// of a second after the X keyboard focus left it, and not at all when the
// focus comes back sooner (Alt+Tab there and back, a notification taking it
// for a moment). The keys let go of meanwhile went elsewhere. This hears from
// X itself the moment the focus leaves; elsewhere than on X it hears nothing.
class XFocusWatch final : public QAbstractNativeEventFilter
{
public:
    explicit XFocusWatch(std::function<void()> focusLeft);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void()> focusLeft;
};
