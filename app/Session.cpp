#include "Session.h"

#include "Controls.h"
#include "Form3.h"
#include "PlayfieldView.h"
#include "Rules.h"
#include "VirtualKeys.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

Session::Session(RandomSource& random, std::function<void()> endProgram)
    : game(match, *this, random)
    , keyboard([this] { form1.close(); }, [this] { NextRound(); })
    , controllers(match, [this] { NextRound(); }, [this] { SetTurnFlags(); })
    , random(random)
    , endProgram(std::move(endProgram))
    , focusWatch([this] { LetGoOfEveryKey(); })
    , form1(game.Field().Image())
{
    // The tick runs only while the game window is shown; idle, the game
    // sleeps.
    form1.Timer1.stop();
    QObject::connect(&form1.Timer1, &QTimer::timeout, &form1, [this] { Timer1_Timer(); });
    QObject::connect(form1.Picture1, &PlayfieldView::KeyDown, &form1, [this](QKeyEvent* event) {
        keyboard.Picture1_KeyDown(keys.Pressed(*event), event->nativeScanCode());
        SetTurnFlags();
    });
    QObject::connect(form1.Picture1, &PlayfieldView::KeyUp, &form1, [this](QKeyEvent* event) {
        // X11 sends a release before every repeated press of a held key;
        // the key is still down.
        if (event->isAutoRepeat())
            return;
        keyboard.Picture1_KeyUp(keys.Released(*event), event->nativeScanCode());
        SetTurnFlags();
    });
    QObject::connect(form1.Picture1, &PlayfieldView::FocusLost, &form1, [this] { LetGoOfEveryKey(); });
    QObject::connect(&form1, &Form1::Unloaded, &form1, [this] { Form1_Unload(); });
    QObject::connect(&form2, &Form2::StartChosen, &form2, [this] { Start(); });
    QObject::connect(&form2, &Form2::ExitChosen, &form2, [this] { Form1_Unload(); });
    QObject::connect(&form2, &Form2::Unloaded, &form2, [this] { Form1_Unload(); });
}

void Session::Form1_Load()
{
    // Returns once Start has opened the game window.
    form2.exec();
    match.AssignPlayerColors();
}

void Session::Start()
{
    match.LastPlayer = 1;
    // How many boxes are ticked counts, not which.
    for (const QCheckBox* optional : form2.Check1)
        if (optional->isChecked())
            ++match.LastPlayer;

    const std::int16_t last = match.LastPlayer;
    for (int slot = 0; slot <= last; ++slot) {
        form1.Label1[slot]->setText(form2.Text1[slot]->text());
        match.Players[slot].Score = 0;
        form1.Label2[slot]->setText(QStringLiteral("00"));
    }
    match.Level = 1;
    match.StartRound(random);
    controllers.TakePlayers();
    keyboard.Forget();
    SetTurnFlags();
    form1.ShowScoreRows(match.LastPlayer);
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
    endProgram();
}

void Session::ShowScore(std::int16_t slot, const QString& text)
{
    if (slot >= 0 && slot < Form1::ScoreRows)
        form1.Label2[slot]->setText(text);
}

void Session::SetBannerCaption(const QString& caption)
{
    form1.Label4->setText(caption);
}

void Session::SetBannerVisible(bool visible)
{
    form1.Label4->setVisible(visible);
}

void Session::SetCreditColor(ColorRef color)
{
    SetTextColor(form1.Label3, ToQColor(color));
}

// The options are read from the setup window whenever the game needs them.
bool Session::PassThroughOn() const
{
    return form2.Check2[0]->isChecked();
}

bool Session::CaveInsOn() const
{
    return form2.Check2[1]->isChecked();
}

QString Session::RoundsText() const
{
    return form2.Text2->text();
}

void Session::ShowWinners()
{
    {
        // Discarded when closed, with every row a tie added.
        Form3 form3(&form1);
        for (const std::int16_t slot : WinnerSlots(match))
            form3.AddWinner(form1.Label1[slot]->text(), TextColor(form1.Label1[slot]));
        form3.exec();
    }
    form1.hide();
    form1.Timer1.stop();
    // Returns with the next match started: Start sets the timer going
    // again, and this tick ends right after.
    form2.exec();
}

void Session::HeadDied(std::int16_t slot)
{
    controllers.Rumble(slot);
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
    form1.WaitSign->setVisible(waits);
    if (waits)
        return;
    game.Tick();
    for (const QRect& changed : game.Field().TakeChanged())
        form1.Picture1->update(changed);
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
    // press, as the round's start cleared every turn.
    if (!game.StartNextRound())
        return;
    keyboard.Forget();
    controllers.Forget();
    SetTurnFlags();
}

void Session::SetTurnFlags()
{
    for (int slot = 0; slot < PlayerSlots; ++slot) {
        PlayerRecord& player = match.Players[std::size_t(slot)];
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
