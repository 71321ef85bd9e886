#include "PlatformChoice.h"

#ifdef KLIKVAR_DESKTOP_PROBE
#include "PlatformChoiceProbe.h"
#endif

#include <QDir>
#include <QLoggingCategory>
#include <QtGlobal>

#include <cstring>

namespace {

// Silent unless the player asks.
Q_LOGGING_CATEGORY(PlatformLog, "klikvar.platform", QtInfoMsg)

QByteArray Because(QString* why, const QString& reason, const QByteArray& answer)
{
    if (why)
        *why = reason;
    return answer;
}

} // namespace

QByteArray PlatformToAskFor(bool platformArgument, const QByteArray& named, bool xDisplay,
                            bool waylandSocket, DesktopScale scale, QString* why)
{
    if (platformArgument || !named.isEmpty())
        return {};
    // Qt tries a list in order and takes the first that opens, so an X
    // display that is set but gone still leaves Wayland. Without a place
    // for a Wayland socket, libwayland would add a complaint of its own to
    // the one line that says no display could be opened.
    if (!waylandSocket)
        return Because(why, QStringLiteral("no Wayland socket"), QByteArrayLiteral("xcb"));
    if (!xDisplay)
        return Because(why, QStringLiteral("no X display"), QByteArrayLiteral("wayland"));
    if (scale.wayland == 1)
        return Because(why, QStringLiteral("Wayland output scale 1: nothing to stretch"),
                       QByteArrayLiteral("xcb;wayland"));
    if (scale.wayland < 1 || scale.xDpi < 1)
        return Because(why, QStringLiteral("the desktop's scale could not be learnt"),
                       QByteArrayLiteral("xcb;wayland"));
    const QString told = QStringLiteral("Wayland output scale %1, X server at %2 dpi: ")
                             .arg(scale.wayland).arg(scale.xDpi);
    if (scale.xDpi > 96)
        return Because(why, told + QStringLiteral("X programs are told the scale"),
                       QByteArrayLiteral("xcb;wayland"));
    return Because(why, told + QStringLiteral("the desktop would stretch X windows"),
                   QByteArrayLiteral("wayland;xcb"));
}

void ChoosePlatform(int argc, char* argv[])
{
    bool platformArgument = false;
    for (int i = 1; i < argc; ++i)
        platformArgument = platformArgument || std::strcmp(argv[i], "-platform") == 0
                           || std::strcmp(argv[i], "--platform") == 0;
    const QByteArray named = qgetenv("QT_QPA_PLATFORM");
    const bool xDisplay = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool waylandSocket = !qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")
                               || QDir::isAbsolutePath(qEnvironmentVariable("WAYLAND_DISPLAY"));
    // Only a choice between the two is worth asking the desktop, and the X
    // server only where the desktop is scaled.
    DesktopScale scale;
#ifdef KLIKVAR_DESKTOP_PROBE
    if (!platformArgument && named.isEmpty() && xDisplay && waylandSocket)
        scale.wayland = WaylandOutputScale();
    if (scale.wayland > 1)
        scale.xDpi = XServerDpi();
#endif
    QString why;
    const QByteArray choice = PlatformToAskFor(platformArgument, named, xDisplay, waylandSocket, scale, &why);
    if (choice.isEmpty()) {
        qCDebug(PlatformLog).noquote() << "the player named the platform:"
                                       << (platformArgument ? QByteArray("-platform") : "QT_QPA_PLATFORM=" + named);
        return;
    }
    qputenv("QT_QPA_PLATFORM", choice);
    qCDebug(PlatformLog).noquote() << "asks Qt for" << choice << "as" << why;
}
