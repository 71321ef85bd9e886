#include "PlatformChoice.h"

#include <QDir>
#include <QtGlobal>

#include <cstring>

QByteArray PlatformToAskFor(bool platformArgument, const QByteArray& named, bool xDisplay,
                            bool waylandSocket)
{
    if (platformArgument || !named.isEmpty())
        return {};
    // Qt tries a list in order and takes the first that opens, so an X
    // display that is set but gone still leaves Wayland. Without a place
    // for a Wayland socket, libwayland would add a complaint of its own to
    // the one line that says no display could be opened.
    if (!waylandSocket)
        return QByteArrayLiteral("xcb");
    return xDisplay ? QByteArrayLiteral("xcb;wayland") : QByteArrayLiteral("wayland");
}

void ChoosePlatform(int argc, char* argv[])
{
    bool platformArgument = false;
    for (int i = 1; i < argc; ++i)
        platformArgument = platformArgument || std::strcmp(argv[i], "-platform") == 0
                           || std::strcmp(argv[i], "--platform") == 0;
    const bool waylandSocket = !qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")
                               || QDir::isAbsolutePath(qEnvironmentVariable("WAYLAND_DISPLAY"));
    const QByteArray choice = PlatformToAskFor(platformArgument, qgetenv("QT_QPA_PLATFORM"),
                                               !qEnvironmentVariableIsEmpty("DISPLAY"), waylandSocket);
    if (!choice.isEmpty())
        qputenv("QT_QPA_PLATFORM", choice);
}
