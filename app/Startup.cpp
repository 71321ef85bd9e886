#include "Startup.h"

#include "ProgramIcon.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

void SetScreenScaling()
{
    // A game pixel is always a whole block of screen pixels: 150 % goes to
    // 200 %, so trails and frames stay crisp and the layouts keep their shape.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    // The style's own sizes (tick boxes, text box frames) then follow the
    // whole scale as well, not the fraction it was rounded from; the fonts
    // do so through DesignFont.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
}

namespace {

// A message from Qt kept until it is known whether the start went well.
struct HeldMessage
{
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

std::mutex heldLock;
std::vector<HeldMessage> held;
QtMessageHandler handlerBefore = nullptr;
bool holding = false;

QString WaylandSocket()
{
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    if (QDir::isAbsolutePath(name))
        return name;
    const QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

// What was tried: the platforms Qt named while failing, the X display and
// the Wayland socket.
QString WhatWasTried()
{
    QStringList platforms;
    static const QRegularExpression named(QStringLiteral("platform plugin \"([^\"]*)\""));
    for (const HeldMessage& message : held) {
        const QRegularExpressionMatch match = named.match(message.text);
        if (match.hasMatch() && !platforms.contains(match.captured(1)))
            platforms << match.captured(1);
    }
    if (platforms.isEmpty())
        platforms << qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default"));
    const QString display = qEnvironmentVariableIsEmpty("DISPLAY")
        ? QStringLiteral("DISPLAY not set")
        : QStringLiteral("DISPLAY=") + qEnvironmentVariable("DISPLAY");
    const QString socket = WaylandSocket();
    QString wayland = QStringLiteral("no Wayland socket, XDG_RUNTIME_DIR not set");
    if (!socket.isEmpty())
        wayland = (QFileInfo::exists(socket) ? QStringLiteral("Wayland socket ")
                                             : QStringLiteral("no Wayland socket at "))
                  + socket;
    return QStringLiteral("Qt platform \"%1\"; %2; %3")
        .arg(platforms.join(QStringLiteral("\", \"")), display, wayland);
}

void PassOn(const HeldMessage& message)
{
    const QMessageLogContext context(message.file.constData(), message.line,
                                     message.function.constData(), message.category.constData());
    qt_message_output(message.type, context, message.text);
}

void StopHolding()
{
    std::vector<HeldMessage> messages;
    {
        const std::lock_guard<std::mutex> lock(heldLock);
        if (!holding)
            return;
        holding = false;
        qInstallMessageHandler(handlerBefore);
        messages.swap(held);
    }
    for (const HeldMessage& message : messages)
        PassOn(message);
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg && text.contains(QStringLiteral("platform plugin"))) {
        // Qt's own account (which plugins exist, reinstalling) would only
        // bury the one thing a player needs to know.
        const std::lock_guard<std::mutex> lock(heldLock);
        std::fprintf(stderr, "Klikvar needs a graphical display and could not open one (%s).\n",
                     qPrintable(WhatWasTried()));
        std::fflush(nullptr);
        std::_Exit(EXIT_FAILURE);
    }
    HeldMessage message{type, context.file, context.function, context.category, context.line, text};
    if (type == QtFatalMsg) {
        // Some other end: everything goes out as it came, and Qt aborts.
        StopHolding();
        PassOn(message);
        return;
    }
    const std::lock_guard<std::mutex> lock(heldLock);
    held.push_back(std::move(message));
}

} // namespace

void ExpectDisplay()
{
    const std::lock_guard<std::mutex> lock(heldLock);
    holding = true;
    handlerBefore = qInstallMessageHandler(HoldMessage);
}

void DisplayOpened()
{
    StopHolding();
}

void DeclareProgram()
{
    QApplication::setApplicationName(QStringLiteral("Klikvar"));
    QApplication::setApplicationVersion(QStringLiteral(KLIKVAR_VERSION));
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KLIKVAR_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());
}
