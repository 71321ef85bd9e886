#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

// Asks a helper program to end, and ends it when it does not.
void StopProcess(QProcess& process);

// A private X display with a window manager, for driving the real program
// the way a player would: Xvfb, openbox, xdotool and ImageMagick's import.
class VirtualDisplay
{
public:
    VirtualDisplay() = default;
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    ~VirtualDisplay();

    // The screen's size in device pixels and its dots per inch, which Qt
    // takes as the scale: 96 is 100 %, 144 is 150 %, 192 is 200 %.
    struct Screen
    {
        QSize size{1024, 768};
        int dpi = 96;
    };

    // openbox places windows where they ask to be; mutter, GNOME's, keeps a
    // hidden window at its frame's corner.
    enum class WindowManager { None, Openbox, Mutter };

    // Starts the server and, unless told otherwise, openbox, and then sets
    // the screen's dots per inch (without a window manager the server gives
    // none, which Qt takes as 96); on failure says why.
    bool Start(QString* error, Screen screen, WindowManager manager = WindowManager::Openbox);
    bool Start(QString* error) { return Start(error, Screen{}); }

    // Sets the dots per inch the server gives its programs.
    bool SetDpi(int dpi) const;

    // The environment a program on this display needs.
    QProcessEnvironment Environment() const;

    // Runs a tool on the display; its standard output, or nothing when it
    // failed or took longer than the timeout.
    std::optional<QString> Run(const QString& program, const QStringList& arguments,
                               int timeoutMs = 10000) const;

    // Starts a program on this display, its output going to the test's.
    bool Launch(QProcess& process, const QString& program) const;

    // Waits for a visible top-level window with exactly this title.
    std::optional<QString> FindWindow(const QString& title, int timeoutMs = 10000) const;
    // Waits for one with this title and client size as well.
    std::optional<QString> FindWindow(const QString& title, QSize size, int timeoutMs) const;
    // A window's client area on the screen, or nothing when it is gone.
    std::optional<QRect> ClientArea(const QString& window) const;
    // The visible windows with exactly this title, at this moment.
    QStringList VisibleWindows(const QString& title) const;

    // Waits for the window and gives it the keyboard.
    std::optional<QString> ActivateWindow(const QString& title) const;

    // What the window shows (its client area), also saved to savePath.
    QImage Screenshot(const QString& window, const QString& savePath) const;

    // Mouse and keyboard as a player uses them; positions are in the
    // window's client area.
    bool Click(const QString& window, QPoint at, int button = 1) const;
    bool Keys(const QStringList& keys) const;
    bool Type(const QString& text) const;

private:
    bool WindowManagerRunning() const;

    QProcess server;
    QProcess windowManager;
    QString display;
};
