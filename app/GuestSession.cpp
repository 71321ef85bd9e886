#include "GuestSession.h"

#include "Admission.h"
#include "WindowKeys.h"

#include <bit>

namespace {

// A lost key change is made good within this many serves (10 ms each).
constexpr int KeysRepeatEvery = 10;

} // namespace

GuestSession::GuestSession(net::Transport& transport, net::PeerId host, const net::Hello& hello,
                           std::function<void(const QString&, int)> ended)
    : view(form1, unusedSetup, [this](std::int16_t slot) { Rumble(slot); }, [] {})
    , link(transport, host, field, view,
           [this](const QList<net::WinnerRow>& rows) {
               QList<std::pair<QString, QColor>> shown;
               for (const net::WinnerRow& row : rows)
                   shown.append({row.label, ToQColor(row.color)});
               view.ShowWinnerRows(shown);
           })
    , keyboard([this] { Leave(); }, [this] { link.AskForNextRound(); })
    , controllers(seats, [this] { link.AskForNextRound(); }, [this] { KeysChanged(); })
    , ended(std::move(ended))
{
    link.OnPlayers([this](const QStringList& names) {
        // A new match: the last one's winners have been seen.
        view.CloseWinnerRows();
        view.ShowPlayers(names);
        form1.show();
        form1.activateWindow();
        SeatControllers();
        NewRound();
    });
    link.OnRoundStarts([this] { NewRound(); });
    // A controller lights up the player its seat is.
    controllers.ShowAs([this](int seat) { return net::PlayerOfSeat(link.Seats(), seat) - 1; });
    // Its first seat stays on player 1's keys, whichever player that is now.
    link.OnSeatsChanged([this] {
        SeatControllers();
        KeysChanged();
    });
    FeedKeys(form1, keys, keyboard, [this] { KeysChanged(); });
    QObject::connect(&form1, &Form1::Picture1_FocusLost, &form1, [this] {
        keys.Forget();
        keyboard.Forget();
        KeysChanged();
    });
    QObject::connect(&form1, &Form1::Unloaded, &form1, [this] { Leave(); });
    form1.Timer1.stop();
    link.SayHello(hello);
    QObject::connect(&serveTimer, &QTimer::timeout, &form1, [this] { Serve(); });
    serveTimer.start(10);
    if (const std::optional<qintptr> socket = transport.Socket()) {
        arrivals = std::make_unique<QSocketNotifier>(*socket, QSocketNotifier::Read);
        QObject::connect(arrivals.get(), &QSocketNotifier::activated, &form1, [this] {
            link.Serve();
            view.ShowChanged(field.TakeChanged());
        });
    }
}

void GuestSession::Serve()
{
    // No tick pumps them here, and a turn must not wait for the idle pump.
    controllers.Pump();
    link.Serve();
    view.ShowChanged(field.TakeChanged());
    if (++served % KeysRepeatEvery == 0)
        link.RepeatKeys();
    switch (link.StateNow()) {
    case net::GuestLink::State::Joining:
    case net::GuestLink::State::Playing:
    case net::GuestLink::State::Left:
        break;
    case net::GuestLink::State::Refused:
        // Once: what ended does may run an event loop of its own.
        StopServing();
        ended(net::RefusalLine(link.Refused()), 1);
        break;
    case net::GuestLink::State::HostEnded:
        StopServing();
        ended(QStringLiteral("Hostitel ukončil hru."), 0);
        break;
    case net::GuestLink::State::HostGone:
        StopServing();
        ended(QStringLiteral("Spojení s hostitelem se ztratilo, hra skončila."), 0);
        break;
    }
}

void GuestSession::StopServing()
{
    serveTimer.stop();
    if (arrivals)
        arrivals->setEnabled(false);
}

void GuestSession::KeysChanged()
{
    for (int seat = 0; seat < net::PlayerCount; ++seat)
        link.SetKeys(seat, keyboard.Asks(seat, true) || controllers.Asks(seat, true),
                     keyboard.Asks(seat, false) || controllers.Asks(seat, false));
}

void GuestSession::SeatControllers()
{
    seats.LastPlayer = std::int16_t(std::popcount(link.Seats()) - 1);
    controllers.TakePlayers();
}

void GuestSession::NewRound()
{
    // As on the host's keyboard: a key held on into the new round turns
    // only from its next press. The host holds back the held keys it hears
    // until then, so this is what lets them go there.
    keyboard.Forget();
    controllers.Forget();
    KeysChanged();
}

void GuestSession::Rumble(std::int16_t slot)
{
    // Its controllers steer its seats, numbered from 0 here.
    if (const int seat = net::SeatOfPlayer(link.Seats(), slot + 1); seat >= 0)
        controllers.Rumble(std::int16_t(seat));
}

void GuestSession::Leave()
{
    link.Leave();
    // Once more, so the goodbye leaves before the program ends.
    link.Serve();
    ended(QString(), 0);
}
