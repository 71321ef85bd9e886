#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QRegularExpression>
#include <QThread>

#include <signal.h>
#include <unistd.h>

void StopProcess(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

VirtualDisplay::~VirtualDisplay()
{
    // Its whole group: dbus-run-session leaves its bus behind otherwise.
    if (windowManager.processId() > 0)
        ::kill(pid_t(-windowManager.processId()), SIGTERM);
    StopProcess(windowManager);
    StopProcess(server);
}

bool VirtualDisplay::Start(QString* error, Screen screen, WindowManager manager)
{
    const QString geometry = QStringLiteral("%1x%2x24").arg(screen.size.width()).arg(screen.size.height());
    // The server picks a free display number and writes it once it is ready.
    // Without -noreset it starts afresh whenever its last client leaves, and
    // a window manager connecting at that moment fails and is gone.
    server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                          QStringLiteral("-noreset"),
                                          QStringLiteral("-screen"), QStringLiteral("0"),
                                          geometry, QStringLiteral("-nolisten"),
                                          QStringLiteral("tcp")});
    if (!server.waitForStarted(5000)) {
        *error = QStringLiteral("Xvfb did not start: ") + server.errorString();
        return false;
    }
    QByteArray number;
    const QDeadlineTimer serverDeadline(10000);
    while (!number.contains('\n') && !serverDeadline.hasExpired()
           && server.state() == QProcess::Running) {
        server.waitForReadyRead(200);
        number += server.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        *error = QStringLiteral("Xvfb gave no display number: ") + server.readAllStandardError();
        return false;
    }
    display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    if (manager == WindowManager::None)
        return true;

    windowManager.setProcessEnvironment(Environment());
    windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    windowManager.setChildProcessModifier([] { ::setpgid(0, 0); });
    // mutter wants a session bus, as in a GNOME session.
    const QStringList command = manager == WindowManager::Mutter
        ? QStringList{QStringLiteral("dbus-run-session"), QStringLiteral("--"), QStringLiteral("mutter"),
                      QStringLiteral("--x11"), QStringLiteral("--replace")}
        : QStringList{QStringLiteral("openbox")};
    windowManager.start(command.first(), command.mid(1));
    const QDeadlineTimer managerDeadline(20000);
    while (!WindowManagerRunning()) {
        if (managerDeadline.hasExpired() || windowManager.state() == QProcess::NotRunning) {
            *error = command.join(u' ') + QStringLiteral(" did not take over the display");
            return false;
        }
        QThread::msleep(100);
    }
    if (!SetDpi(screen.dpi)) {
        *error = QStringLiteral("could not set the screen's dots per inch");
        return false;
    }
    return true;
}

bool VirtualDisplay::SetDpi(int dpi) const
{
    // What Qt reads as the screen's dots per inch.
    const QString resources = QStringLiteral("Xft.dpi:\t%1\n").arg(dpi);
    return Run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("-f"),
                                         QStringLiteral("RESOURCE_MANAGER"), QStringLiteral("8s"),
                                         QStringLiteral("-set"), QStringLiteral("RESOURCE_MANAGER"),
                                         resources})
        .has_value();
}

QProcessEnvironment VirtualDisplay::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return environment;
}

std::optional<QString> VirtualDisplay::Run(const QString& program, const QStringList& arguments,
                                           int timeoutMs) const
{
    QProcess tool;
    QProcessEnvironment environment = Environment();
    // xdotool reads window titles in the locale's encoding: without a UTF-8
    // locale (a bare system's root has none) a title with a letter beyond
    // ASCII never matches.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    tool.setProcessEnvironment(environment);
    tool.start(program, arguments);
    if (!tool.waitForFinished(timeoutMs)) {
        tool.kill();
        tool.waitForFinished(1000);
        return std::nullopt;
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

namespace {

QString ExactTitle(const QString& title)
{
    return QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
}

} // namespace

std::optional<QString> VirtualDisplay::FindWindow(const QString& title, int timeoutMs) const
{
    const auto found = Run(QStringLiteral("xdotool"),
                           {QStringLiteral("search"), QStringLiteral("--sync"),
                            QStringLiteral("--onlyvisible"), QStringLiteral("--name"), ExactTitle(title)},
                           timeoutMs);
    if (!found)
        return std::nullopt;
    const QStringList windows = found->split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (windows.isEmpty())
        return std::nullopt;
    return windows.first();
}

std::optional<QRect> VirtualDisplay::ClientArea(const QString& window) const
{
    const auto shell = Run(QStringLiteral("xdotool"),
                           {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    if (!shell)
        return std::nullopt;
    static const QRegularExpression value(QStringLiteral("^(X|Y|WIDTH|HEIGHT)=(-?\\d+)$"),
                                          QRegularExpression::MultilineOption);
    QHash<QString, int> values;
    for (const QRegularExpressionMatch& match : value.globalMatch(*shell))
        values.insert(match.captured(1), match.captured(2).toInt());
    if (values.size() != 4)
        return std::nullopt;
    return QRect(values[QStringLiteral("X")], values[QStringLiteral("Y")], values[QStringLiteral("WIDTH")],
                 values[QStringLiteral("HEIGHT")]);
}

std::optional<QString> VirtualDisplay::FindWindow(const QString& title, QSize size, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        for (const QString& window : VisibleWindows(title)) {
            const auto area = ClientArea(window);
            if (area && area->size() == size)
                return window;
        }
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    return std::nullopt;
}

QStringList VirtualDisplay::VisibleWindows(const QString& title) const
{
    // xdotool reports "nothing found" as a failure.
    const auto found = Run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                       QStringLiteral("--name"), ExactTitle(title)});
    return found ? found->split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList();
}

bool VirtualDisplay::Launch(QProcess& process, const QString& program) const
{
    process.setProcessEnvironment(Environment());
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, {});
    return process.waitForStarted(5000);
}

std::optional<QString> VirtualDisplay::ActivateWindow(const QString& title) const
{
    const auto window = FindWindow(title);
    if (!window || !Run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"),
                                                    QStringLiteral("--sync"), *window}))
        return std::nullopt;
    return window;
}

QImage VirtualDisplay::Screenshot(const QString& window, const QString& savePath) const
{
    if (!Run(QStringLiteral("import"), {QStringLiteral("-window"), window, savePath}))
        return {};
    return QImage(savePath).convertToFormat(QImage::Format_RGB32);
}

bool VirtualDisplay::Click(const QString& window, QPoint at, int button) const
{
    return Run(QStringLiteral("xdotool"),
               // No --sync: it waits for ever when the pointer is there already.
               {QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
                QString::number(button)})
        .has_value();
}

bool VirtualDisplay::Keys(const QStringList& keys) const
{
    return Run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys).has_value();
}

bool VirtualDisplay::Type(const QString& text) const
{
    return Run(QStringLiteral("xdotool"), {QStringLiteral("type"), text}).has_value();
}

bool VirtualDisplay::WindowManagerRunning() const
{
    // Really up: the root names the manager's check window, that window
    // exists and names itself, and activating windows is supported.
    const auto root = Run(QStringLiteral("xprop"),
                          {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, 2000);
    static const QRegularExpression windowId(QStringLiteral("window id # (0x[0-9a-f]+)"));
    const QRegularExpressionMatch check = windowId.match(root.value_or(QString()));
    if (!check.hasMatch())
        return false;
    const auto self = Run(QStringLiteral("xprop"),
                          {QStringLiteral("-id"), check.captured(1), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, 2000);
    const auto supported = Run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTED")}, 2000);
    static const QRegularExpression activating(QStringLiteral("\\b_NET_ACTIVE_WINDOW\\b"));
    return self && self->contains(check.captured(1)) && supported && supported->contains(activating);
}
