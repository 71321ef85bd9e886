#pragma once

#include "DiscoverySockets.h"
#include "GuestSession.h"
#include "JoinWindow.h"
#include "NetworkOptions.h"

#include <QTimer>

#include <functional>
#include <memory>

// A joined computer's run that starts from the join window: the games found
// are listed while the window is open, Connect joins the one chosen or
// typed, and when the match is over for this computer (or a join is
// refused) the window comes back with the line that says why.
class JoinFlow final
{
public:
    static constexpr int AskEveryMs = 1000;

    // How the flow reaches a host: the connection's transport and the host's
    // peer, or nothing when no address answered. whileWaiting keeps the
    // window alive meanwhile.
    struct Connection
    {
        std::unique_ptr<net::Transport> transport;
        net::PeerId host = 0;
    };
    using Connector = std::function<std::optional<Connection>(const NetworkOptions&,
                                                              const std::function<void()>& whileWaiting)>;

    // given: what the command line filled in. closed: the window's close box.
    JoinFlow(const NetworkOptions& given, std::function<void()> closed,
             std::unique_ptr<net::DiscoverySearch> search = std::make_unique<net::DiscoverySearch>(),
             Connector connect = ConnectOverEnet);
    static std::optional<Connection> ConnectOverEnet(const NetworkOptions& options,
                                                     const std::function<void()>& whileWaiting);

    // Asks for games and lists what answered; runs every AskEveryMs on its own.
    void Refresh();
    // What Connect does: the options the window's boxes make, or the line
    // that says what is wrong with them.
    std::variant<NetworkOptions, QString> Chosen() const;

    JoinWindow window;
    // The match this computer has joined, while it lasts.
    std::unique_ptr<GuestSession> guest;

private:
    void Connect();
    void Ended(const QString& line);

    std::unique_ptr<net::DiscoverySearch> search;
    Connector connector;
    QTimer askTimer;
    std::unique_ptr<net::Transport> transport;
};

// A found game's row in the list: its host's name, address, players and
// free seats, and its version when it is not this build's.
JoinWindow::Game GameRow(const net::FoundGame& game, const QString& ownVersion);
