#include "NestedCompositor.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

namespace {

// sway will not run as root, and a test run by CI is root.
bool HandRuntimeToNobody(const QString& folder, QStringList* command)
{
    if (geteuid() != 0)
        return true;
    const passwd* nobody = getpwnam("nobody");
    if (!nobody || chown(QFile::encodeName(folder).constData(), nobody->pw_uid, nobody->pw_gid) != 0)
        return false;
    *command = QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=nobody"),
                           QStringLiteral("--regid=%1").arg(nobody->pw_gid),
                           QStringLiteral("--clear-groups")}
               + *command;
    return true;
}

QString FirstEntry(const QString& folder, const QString& pattern)
{
    const QStringList found = QDir(folder).entryList({pattern}, QDir::System | QDir::Files);
    return found.isEmpty() ? QString() : QDir(folder).filePath(found.first());
}

void Walk(const QJsonObject& node, const QString& title, QList<NestedCompositor::View>* views)
{
    if (node.contains(QStringLiteral("pid")) && node.value(QStringLiteral("name")).toString() == title) {
        const QJsonObject outer = node.value(QStringLiteral("rect")).toObject();
        const QJsonObject inner = node.value(QStringLiteral("window_rect")).toObject();
        auto at = [](const QJsonObject& rect, const char* key) { return rect.value(QLatin1String(key)).toInt(); };
        views->append({node.value(QStringLiteral("id")).toInteger(),
                       QRect(at(outer, "x") + at(inner, "x"), at(outer, "y") + at(inner, "y"),
                             at(inner, "width"), at(inner, "height"))});
    }
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue child : node.value(QLatin1String(children)).toArray())
            Walk(child.toObject(), title, views);
}

} // namespace

NestedCompositor::~NestedCompositor()
{
    StopProcess(compositor);
}

bool NestedCompositor::Start(QString* error, const VirtualDisplay& display, Kind kind, int scale,
                             QSize screen)
{
    this->kind = kind;
    this->display = &display;
    this->screen = screen;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    environment.insert(QStringLiteral("HOME"), runtime.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("DISPLAY"), display.Environment().value(QStringLiteral("DISPLAY")));
    QStringList command;
    QFile config(runtime.filePath(QStringLiteral("config")));
    if (!config.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write the compositor's settings");
        return false;
    }
    if (kind == Kind::Sway) {
        config.write("xwayland disable\n");
        config.write(QStringLiteral("output * mode %1x%2 scale %3\n")
                         .arg(screen.width()).arg(screen.height()).arg(scale).toUtf8());
        environment.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("x11"));
        environment.insert(QStringLiteral("WLR_X11_OUTPUTS"), QStringLiteral("1"));
        environment.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
        command = {QStringLiteral("sway"), QStringLiteral("--config"), config.fileName()};
        if (!HandRuntimeToNobody(runtime.path(), &command)) {
            *error = QStringLiteral("cannot hand the runtime folder to nobody");
            return false;
        }
    } else {
        // No panel, and no on-screen keyboard over the windows.
        config.write("[shell]\npanel-position=none\n[input-method]\npath=\n");
        command = {QStringLiteral("weston"), QStringLiteral("--backend=x11-backend.so"),
                   QStringLiteral("--use-pixman"), QStringLiteral("--idle-time=0"),
                   QStringLiteral("--socket=wayland-0"), QStringLiteral("--config=") + config.fileName(),
                   QStringLiteral("--width=%1").arg(screen.width()),
                   QStringLiteral("--height=%1").arg(screen.height())};
    }
    config.close();
    compositor.setProcessEnvironment(environment);
    // Both talk a lot, and what matters shows in the tests' own messages.
    compositor.setStandardOutputFile(QProcess::nullDevice());
    compositor.setStandardErrorFile(QProcess::nullDevice());
    compositor.start(command.takeFirst(), command);
    const QDeadlineTimer deadline(15000);
    while (socket.isEmpty() && !deadline.hasExpired() && compositor.state() != QProcess::NotRunning) {
        QThread::msleep(100);
        socket = FirstEntry(runtime.path(), QStringLiteral("wayland-?"));
    }
    if (socket.isEmpty()) {
        *error = QStringLiteral("the compositor made no Wayland socket");
        return false;
    }
    // sway is ready for messages once its own socket is there too.
    while (kind == Kind::Sway && !Message({QStringLiteral("-t"), QStringLiteral("get_version")})) {
        if (deadline.hasExpired()) {
            *error = QStringLiteral("sway did not answer");
            return false;
        }
        QThread::msleep(100);
    }
    return true;
}

QProcessEnvironment NestedCompositor::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QFileInfo(socket).fileName());
    return environment;
}

QProcessEnvironment NestedCompositor::EnvironmentWithX(const VirtualDisplay& display) const
{
    QProcessEnvironment environment = Environment();
    environment.insert(QStringLiteral("DISPLAY"), display.Environment().value(QStringLiteral("DISPLAY")));
    return environment;
}

QList<NestedCompositor::View> NestedCompositor::Views(const QString& title) const
{
    QList<View> views;
    const auto tree = Message({QStringLiteral("-t"), QStringLiteral("get_tree")});
    if (tree)
        Walk(QJsonDocument::fromJson(tree->toUtf8()).object(), title, &views);
    return views;
}

QList<NestedCompositor::View> NestedCompositor::WaitForViews(const QString& title, int count,
                                                             int timeoutMs) const
{
    // A new window is placed, then laid out by sway: its area counts once it
    // has stayed put for a moment.
    const QDeadlineTimer deadline(timeoutMs);
    QList<View> before;
    QList<View> views = Views(title);
    auto same = [](const QList<View>& a, const QList<View>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const View& x, const View& y) {
            return x.id == y.id && x.area == y.area;
        });
    };
    while ((views.size() != count || !same(views, before)) && !deadline.hasExpired()) {
        QThread::msleep(150);
        before = views;
        views = Views(title);
    }
    return views;
}

bool NestedCompositor::Command(qint64 view, const QString& command) const
{
    return Message({QStringLiteral("[con_id=%1] %2").arg(view).arg(command)}).has_value();
}

bool NestedCompositor::Click(QPoint at) const
{
    // weston moves its pointer by each motion of the X pointer, not to where
    // the X pointer is, so a jump to the point leaves it wherever it was.
    // Across the whole screen and back pins it in the top-left corner, where
    // the two agree; from there one motion takes both to the point.
    auto move = [](int x, int y) {
        return QStringList{QStringLiteral("mousemove"), QString::number(x), QString::number(y),
                           QStringLiteral("sleep"), QStringLiteral("0.05")};
    };
    return display->Run(QStringLiteral("xdotool"),
                        move(screen.width() - 1, screen.height() - 1) + move(0, 0) + move(at.x(), at.y())
                            + QStringList{QStringLiteral("click"), QStringLiteral("1")})
        .has_value();
}

std::optional<QString> NestedCompositor::Message(const QStringList& arguments) const
{
    QProcess swaymsg;
    QProcessEnvironment environment = Environment();
    environment.insert(QStringLiteral("SWAYSOCK"), FirstEntry(runtime.path(), QStringLiteral("sway-ipc.*.sock")));
    swaymsg.setProcessEnvironment(environment);
    swaymsg.start(QStringLiteral("swaymsg"), QStringList{QStringLiteral("--raw")} + arguments);
    if (!swaymsg.waitForFinished(5000) || swaymsg.exitStatus() != QProcess::NormalExit
        || swaymsg.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(swaymsg.readAllStandardOutput());
}
