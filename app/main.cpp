#include "ClosingWindow.h"
#include "DiscoverySockets.h"
#include "EnetTransport.h"
#include "GuestSession.h"
#include "HostMatch.h"
#include "HostWindow.h"
#include "JoinFlow.h"
#include "NetworkOptions.h"
#include "NetworkStart.h"
#include "PlatformChoice.h"
#include "RandomSource.h"
#include "Session.h"
#include "Startup.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

namespace {

// Every way out ends the process on the spot, from whichever window or
// nested loop it comes; nothing runs after it and nothing needs saving.
[[noreturn]] void EndProgram(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

void SayLine(std::FILE* stream, const QString& line)
{
    std::fprintf(stream, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stream);
}

} // namespace

int main(int argc, char* argv[])
{
    const QStringList networkArguments = TakeNetworkArguments(argc, argv);
    PreferUtf8Characters();
    ChoosePlatform(argc, argv);
    SetScreenScaling();
    QApplication app = OpenDisplay(argc, argv);
    DeclareProgram();

    // What Qt left of the command line once it took its own options:
    // anything there is not the game's either.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ParsedOptions parsed = ParseNetworkOptions(arguments + networkArguments);
    if (!parsed.options) {
        SayLine(stderr, parsed.error);
        return 2;
    }
    const NetworkOptions& options = *parsed.options;

    if (options.role == NetworkOptions::Role::JoinWindow) {
        // Only the join window's close box ends the program; the game's
        // windows come and go.
        QApplication::setQuitOnLastWindowClosed(false);
        JoinFlow flow(options, [] { EndProgram(EXIT_SUCCESS); });
        return QApplication::exec();
    }

    if (options.role == NetworkOptions::Role::Join) {
        const net::Hello hello = HelloFor(options);
        if (net::Encode(hello).isEmpty()) {
            SayLine(stderr, BadNameLine());
            return 2;
        }
        std::unique_ptr<net::EnetTransport> transport;
        const std::optional<net::PeerId> host = ConnectToHost(options, transport);
        if (!host) {
            SayLine(stderr, NoAnswerLine(options));
            return 1;
        }
        GuestSession guest(*transport, *host, hello, [](const QString& line, int status) {
            if (!line.isEmpty())
                SayLine(stderr, line);
            // The host ended the match or is gone: said in a window too.
            if (status == EXIT_SUCCESS && !line.isEmpty()) {
                ClosingWindow closing(line);
                closing.exec();
            }
            EndProgram(status);
        });
        return QApplication::exec();
    }

    std::unique_ptr<net::EnetTransport> hosting;
    std::uint16_t code = 0;
    if (options.role == NetworkOptions::Role::Host) {
        // One more than may join, so the one too many hears it is full
        // rather than nothing.
        hosting = net::EnetTransport::Listen(QHostAddress::AnyIPv4, options.port, net::MaxComputers + 1);
        if (!hosting) {
            SayLine(stderr, QStringLiteral("Port %1 nejde otevřít.").arg(options.port));
            return 1;
        }
        code = NewJoinCode();
        SayLine(stdout, HostLine(hosting->Port(), code));
    }
    ClockSeededRandom random;
    Session session(random, [] { EndProgram(EXIT_SUCCESS); }, hosting.get(), code);
    std::unique_ptr<HostWindow> hostWindow;
    std::unique_ptr<net::DiscoveryResponder> discovery;
    if (hosting) {
        discovery = AnswerDiscovery(session.host->Link(), hosting->Port());
        if (!discovery)
            SayLine(stderr, QStringLiteral("Hra nebude vidět v místní síti: port %1 je obsazený.").arg(net::DiscoveryPort));
        hostWindow = std::make_unique<HostWindow>();
        hostWindow->ShowJoinInfo(HostAddresses(), hosting->Port(), code);
        net::HostLink& link = session.host->Link();
        const auto showSeats = [&link, &hostWindow] {
            hostWindow->ShowComputers(ComputerRows(link));
            hostWindow->ShowWatchers(WatcherNames(link));
            hostWindow->ShowOwners(OwnerRows(link));
        };
        link.OnComputersChanged(showSeats);
        showSeats();
        QObject::connect(hostWindow.get(), &HostWindow::OwnerClicked, hostWindow.get(),
                         [&link](int player) { link.MoveSeat(player, NextOwner(link, player)); });
        // Beside the setup window, which opens in the middle of the screen;
        // placed before it is shown, so the window manager puts its frame
        // there, title bar and all, not its client area.
        hostWindow->move(hostWindow->screen()->availableGeometry().topLeft() + QPoint(8, 8));
        hostWindow->show();
    }
    session.Form1_Load();
    return QApplication::exec();
}
