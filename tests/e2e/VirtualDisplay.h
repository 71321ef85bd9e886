#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

// A private X display with a window manager, for driving the real program
// the way a player would: Xvfb, openbox, xdotool and ImageMagick's import.
class VirtualDisplay
{
public:
    VirtualDisplay() = default;
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    ~VirtualDisplay();

    // Starts the server and the window manager; on failure says why.
    bool Start(QString* error);

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

    // Waits for the window and gives it the keyboard.
    std::optional<QString> ActivateWindow(const QString& title) const;

    // What the window shows (its client area), also saved to savePath.
    QImage Screenshot(const QString& window, const QString& savePath) const;

private:
    bool WindowManagerRunning() const;

    QProcess server;
    QProcess windowManager;
    QString display;
};
