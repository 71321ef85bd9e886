#include "Session.h"

#include "HostMatch.h"
#include "VirtualKeys.h"
#include "WindowKeys.h"

#include <QCheckBox>
#include <QLineEdit>

Session::Session(RandomSource& random, std::function<void()> endProgram, net::Transport* hosting,
                 std::uint16_t joinCode)
    : host(hosting ? std::make_unique<net::HostMatch>(
                         *hosting, net::HostFacts{QStringLiteral(KLIKVAR_VERSION), joinCode}, view,
                         [this](std::int16_t slot) {
                             return net::WinnerRow{form1.Name(slot), match.Players[std::size_t(slot)].Color};
                         })
                   : nullptr)
    , game(match, host ? host->RulesScreens() : static_cast<Screens&>(view), random)
    , keyboard([this] { form1.close(); }, [this] { NextRound(); })
    , controllers(match, [this] { NextRound(); }, [this] { SetTurnFlags(); })
    , random(random)
    , endProgram(std::move(endProgram))
    , focusWatch([this] { LetGoOfEveryKey(); })
    , form1(game.Field().Image())
    , view(form1, form2, [this](std::int16_t slot) { controllers.Rumble(slot); },
           [this] { SetUpNextMatch(); })
{
    // The tick runs only while the game window is shown; idle, the game
    // sleeps.
    form1.Timer1.stop();
    QObject::connect(&form1.Timer1, &QTimer::timeout, &form1, [this] { Timer1_Timer(); });
    FeedKeys(form1, keys, keyboard, [this] { SetTurnFlags(); });
    QObject::connect(&form1, &Form1::Picture1_FocusLost, &form1, [this] { LetGoOfEveryKey(); });
    QObject::connect(&form1, &Form1::Unloaded, &form1, [this] { Form1_Unload(); });
    QObject::connect(&form2, &Form2::StartChosen, &form2, [this] { Start(); });
    QObject::connect(&form2, &Form2::ExitChosen, &form2, [this] { Form1_Unload(); });
    QObject::connect(&form2, &Form2::Unloaded, &form2, [this] { Form1_Unload(); });
    if (host) {
        host->Watch(game.Field());
        host->Link().OnNextRound([this] { NextRound(); });
        host->Link().OnJoined([this](std::uint8_t seats, const QString& name) { SeatGuest(seats, name); });
        // A box the host ticks is a player at its own keyboard; one ticked
        // for a joined computer belongs to that computer already. Unticked,
        // whoever had it, the player is free for the next one to join.
        for (int optional = 0; optional < Form2::OptionalPlayers; ++optional) {
            QObject::connect(form2.Check1[std::size_t(optional)], &QCheckBox::toggled, &form2,
                             [this, optional](bool ticked) {
                                 if (ticked)
                                     host->Link().KeepForHost(optional + 3);
                                 else
                                     host->Link().FreeSeat(optional + 3);
                             });
        }
        QObject::connect(&serveTimer, &QTimer::timeout, &form1, [this] { host->Serve(); });
        serveTimer.start(10);
    }
}

Session::~Session() = default;

void Session::Form1_Load()
{
    // Returns once Start has opened the game window.
    form2.exec();
    match.AssignPlayerColors();
}

void Session::Start()
{
    // How many boxes are ticked counts, not which.
    match.LastPlayer = std::int16_t(1 + form2.TickedPlayers());
    QStringList names;
    for (int slot = 0; slot <= match.LastPlayer; ++slot) {
        names << form2.PlayerName(slot);
        match.Players[slot].Score = 0;
    }
    view.ShowPlayers(names);
    if (host)
        host->Link().SendPlayers(names);
    match.Level = 1;
    match.StartRound(random);
    controllers.TakePlayers();
    keyboard.Forget();
    if (host)
        host->Link().ReleaseKeys();
    SetTurnFlags();
    game.Field().ClearPlayfield();
    form2.hide();
    form1.show();
    form1.Timer1.start();
    // The round runs only in the active window. Without a window manager
    // nobody else gives it the keyboard; on Wayland Qt asks the desktop
    // through its activation protocol where it offers one.
    form1.activateWindow();
}

void Session::Form1_Unload()
{
    // Ends a modal display of the setup window, should the program go on.
    form2.hide();
    if (host) {
        // The match ends for every joined computer too; one that misses
        // the goodbye learns it when the host stops answering.
        host->Link().SayGoodbye();
        host->Serve();
    }
    endProgram();
}

void Session::SeatGuest(std::uint8_t seats, const QString& name)
{
    bool first = true;
    for (int slot = 0; slot < PlayerSlots; ++slot) {
        if (!(seats & (1u << slot)))
            continue;
        // Its players take part from the next Start, named as it asked.
        if (const int optional = slot - 2; optional >= 0 && optional < Form2::OptionalPlayers)
            form2.Check1[std::size_t(optional)]->setChecked(true);
        if (first && !name.isEmpty())
            form2.Text1[std::size_t(slot)]->setText(name);
        first = false;
    }
}

void Session::SetUpNextMatch()
{
    form1.hide();
    form1.Timer1.stop();
    // Returns with the next match started: Start sets the timer going
    // again, and the tick that ended the match ends right after.
    form2.exec();
}

void Session::Timer1_Timer()
{
    // What the controllers did since the last tick, before this one reads
    // the turn flags.
    controllers.Pump();
    // The game runs only while its window is shown: not behind the setup
    // window at start-up. A window opened from inside a tick runs its own
    // event loop; Qt does not deliver this timer again until the tick has
    // returned.
    if (form1.isHidden())
        return;
    // A round that waits says so, and how to go on.
    const bool waits = RoundWaitsForPlayers();
    view.SetWaitSignVisible(waits);
    if (waits)
        return;
    if (host) {
        // The turn keys joined computers sent since the last tick.
        host->Serve();
        SetTurnFlags();
    }
    game.Tick();
    if (host)
        host->EndTick(match);
    view.ShowChanged(game.Field().TakeChanged());
}

bool Session::RoundWaitsForPlayers() const
{
    // Minimised or behind another window, the round would go on unseen, and
    // the keys no longer reach it. Between rounds nothing moves anyway.
    return !game.Paused && (form1.isMinimized() || !form1.isActiveWindow());
}

void Session::NextRound()
{
    // A key or button held on into the new round turns only from its next
    // press, as the round's start cleared every turn; on a joined computer
    // too.
    if (!game.StartNextRound())
        return;
    keyboard.Forget();
    controllers.Forget();
    if (host)
        host->Link().ReleaseKeys();
    SetTurnFlags();
}

void Session::SetTurnFlags()
{
    for (int slot = 0; slot < PlayerSlots; ++slot) {
        PlayerRecord& player = match.Players[std::size_t(slot)];
        // A player steered from a joined computer answers to its keys
        // alone, sifted on arrival.
        if (host && host->Link().SteeredRemotely(slot)) {
            player.TurnLeft = host->Link().Asks(slot, true);
            player.TurnRight = host->Link().Asks(slot, false);
            continue;
        }
        player.TurnLeft = keyboard.Asks(slot, true) || controllers.Asks(slot, true);
        player.TurnRight = keyboard.Asks(slot, false) || controllers.Asks(slot, false);
    }
}

void Session::LetGoOfEveryKey()
{
    keys.Forget();
    keyboard.Forget();
    SetTurnFlags();
}
