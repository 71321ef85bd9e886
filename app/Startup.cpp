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

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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

void PreferUtf8Characters()
{
#ifdef Q_OS_UNIX
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
        if (!qEnvironmentVariableIsEmpty(name))
            return;
    qputenv("LC_CTYPE", "C.UTF-8");
#endif
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

// What is held while messages are held. Qt may log from other threads while
// it opens the display, so the state is reached only under its lock.
class Holding
{
public:
    struct State
    {
        bool holding = false;
        QtMessageHandler handlerBefore = nullptr;
        std::vector<HeldMessage> messages;
        // What the libraries below Qt write to standard error themselves
        // (the X library's "Authorization required", libwayland's errors)
        // goes to a file meanwhile; the real standard error is kept here.
        std::FILE* written = nullptr;
        int standardError = -1;
    };

    template <class Action>
    auto Locked(Action action)
    {
        const std::lock_guard<std::mutex> guard(lock);
        return action(state);
    }

private:
    std::mutex lock;
    State state;
};

Holding holding;

QString WaylandSocket()
{
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    if (QDir::isAbsolutePath(name))
        return name;
    const QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

// The first capture of the pattern in the messages, or nothing.
QString FirstCaptured(const std::vector<HeldMessage>& messages, const QRegularExpression& pattern)
{
    for (const HeldMessage& message : messages) {
        const QRegularExpressionMatch match = pattern.match(message.text);
        if (match.hasMatch())
            return match.captured(1);
    }
    return {};
}

// What was tried: the platforms Qt named while failing, the X display and
// the Wayland socket.
QString WhatWasTried(const std::vector<HeldMessage>& messages)
{
    QStringList platforms;
    static const QRegularExpression named(QStringLiteral("platform plugin \"([^\"]*)\""));
    for (const HeldMessage& message : messages) {
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

// The one line a player gets when Qt could not start a platform plugin: a
// plugin that is not there at all is a wrong name or a missing package, not a
// missing display.
QString WhyNoWindow(const std::vector<HeldMessage>& messages, const QString& qtAccount)
{
    static const QRegularExpression notFound(
        QStringLiteral("Could not find the Qt platform plugin \"([^\"]*)\""));
    const QString missing = FirstCaptured(messages, notFound);
    if (missing.isEmpty())
        return QStringLiteral("Klikvar needs a graphical display and could not open one (%1).")
            .arg(WhatWasTried(messages));
    static const QRegularExpression available(QStringLiteral("Available platform plugins are: ([^\\n]*)\\."));
    const QRegularExpressionMatch installed = available.match(qtAccount);
    return QStringLiteral("Klikvar cannot start: Qt has no platform plugin \"%1\" (installed: %2).")
        .arg(missing, installed.hasMatch() ? installed.captured(1) : QStringLiteral("none"));
}

// Messages that say nothing a player can act on, and would greet every
// start as root outside a desktop session.
bool Pointless(const HeldMessage& message)
{
    return message.text.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void CaptureStandardError(Holding::State& state)
{
#ifdef Q_OS_UNIX
    std::fflush(stderr);
    state.written = std::tmpfile();
    state.standardError = state.written ? dup(STDERR_FILENO) : -1;
    if (state.standardError < 0 || dup2(fileno(state.written), STDERR_FILENO) < 0) {
        if (state.written)
            std::fclose(state.written);
        state.written = nullptr;
    }
#else
    Q_UNUSED(state);
#endif
}

// Gives standard error back and returns what was written to it meanwhile.
QByteArray ReleaseStandardError(Holding::State& state)
{
    QByteArray text;
#ifdef Q_OS_UNIX
    if (!state.written)
        return text;
    std::fflush(stderr);
    dup2(state.standardError, STDERR_FILENO);
    close(state.standardError);
    std::rewind(state.written);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, state.written)) > 0;)
        text.append(buffer, qsizetype(n));
    std::fclose(state.written);
    state.written = nullptr;
#else
    Q_UNUSED(state);
#endif
    return text;
}

// The first line with something on it.
QString FirstLine(const QByteArray& text)
{
    for (const QByteArray& line : text.split('\n'))
        if (!line.trimmed().isEmpty())
            return QString::fromLocal8Bit(line.trimmed());
    return {};
}

void PassOn(const HeldMessage& message)
{
    const QMessageLogContext context(message.file.constData(), message.line,
                                     message.function.constData(), message.category.constData());
    qt_message_output(message.type, context, message.text);
}

void StopHolding()
{
    QByteArray written;
    const std::vector<HeldMessage> messages = holding.Locked([&written](Holding::State& state) {
        std::vector<HeldMessage> taken;
        if (!state.holding)
            return taken;
        state.holding = false;
        qInstallMessageHandler(state.handlerBefore);
        written = ReleaseStandardError(state);
        taken.swap(state.messages);
        return taken;
    });
    std::fwrite(written.constData(), 1, std::size_t(written.size()), stderr);
    for (const HeldMessage& message : messages)
        if (!Pointless(message))
            PassOn(message);
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    HeldMessage message{type, context.file, context.function, context.category, context.line, text};
    if (type == QtFatalMsg && text.contains(QStringLiteral("platform plugin"))) {
        // Qt's own account (which plugins exist, reinstalling) would only
        // bury the one thing a player needs to know.
        const QString why = holding.Locked([&text](Holding::State& state) {
            const QString said = FirstLine(ReleaseStandardError(state));
            const QString line = WhyNoWindow(state.messages, text);
            // What the window system's own library wrote, such as an X
            // server's refusal, belongs in the same line.
            return said.isEmpty() ? line : line + QStringLiteral(" Reported: ") + said;
        });
        std::fprintf(stderr, "%s\n", qPrintable(why));
        std::fflush(nullptr);
        std::_Exit(EXIT_FAILURE);
    }
    if (type == QtFatalMsg) {
        // Some other end: everything goes out as it came, and Qt aborts.
        StopHolding();
        PassOn(message);
        return;
    }
    holding.Locked([&message](Holding::State& state) { state.messages.push_back(std::move(message)); });
}

} // namespace

HeldStartMessages::HeldStartMessages()
{
    holding.Locked([](Holding::State& state) {
        state.holding = true;
        state.handlerBefore = qInstallMessageHandler(HoldMessage);
        CaptureStandardError(state);
    });
}

HeldStartMessages::~HeldStartMessages()
{
    StopHolding();
}

QApplication OpenDisplay(int& argc, char** argv)
{
    const HeldStartMessages held;
    return QApplication(argc, argv);
}

void DeclareProgram()
{
    QApplication::setApplicationName(QStringLiteral("Klikvar"));
    QApplication::setApplicationVersion(QStringLiteral(KLIKVAR_VERSION));
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KLIKVAR_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());
}
