#pragma once

#include "VirtualDisplay.h"

#include <QList>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

#include <optional>

// A Wayland desktop in a window of a private X display: sway, whose windows
// are found and asked to close or go full screen through its own messages,
// or weston, whose windows carry Qt's own frame. Clicks and keys reach it
// through the X display; it fills the display's screen from the top-left
// corner, so a point on its screen, times its scale, is the same point on
// the display.
class NestedCompositor
{
public:
    enum class Kind { Sway, Weston };

    NestedCompositor() = default;
    NestedCompositor(const NestedCompositor&) = delete;
    NestedCompositor& operator=(const NestedCompositor&) = delete;
    ~NestedCompositor();

    // Starts the compositor on the display (one without a window manager),
    // filling a screen of this size at this scale, and waits for its socket;
    // on failure says why.
    bool Start(QString* error, const VirtualDisplay& display, Kind kind, int scale = 1,
               QSize screen = VirtualDisplay::Screen{}.size);

    // The environment of a program that finds this desktop and nothing else.
    QProcessEnvironment Environment() const;
    // The same with the X display beside it, as on a desktop with Xwayland.
    QProcessEnvironment EnvironmentWithX(const VirtualDisplay& display) const;

    // sway: the windows with this title, their client areas on its screen
    // (before its scale).
    struct View
    {
        qint64 id;
        QRect area;
    };
    QList<View> Views(const QString& title) const;
    // sway: waits for this many windows with this title, settled in place.
    QList<View> WaitForViews(const QString& title, int count, int timeoutMs = 10000) const;
    // sway: a command for one window, as `swaymsg '[con_id=N] command'`.
    bool Command(qint64 view, const QString& command) const;

    // A click of the left button at a point of its screen, wherever its
    // pointer was.
    bool Click(QPoint at) const;

private:
    std::optional<QString> Message(const QStringList& arguments) const;

    Kind kind = Kind::Sway;
    const VirtualDisplay* display = nullptr;
    QSize screen;
    QTemporaryDir runtime;
    QString socket;
    QProcess compositor;
};
