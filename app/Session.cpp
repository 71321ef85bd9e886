#include "Session.h"

#include "PlayfieldView.h"
#include "VirtualKeys.h"

#include <QKeyEvent>
#include <QLabel>

Session::Session(RandomSource& random)
    : game(match, *this, random)
    , form1(game.Field().Image())
    , keyboard(match, game, [this] { form1.close(); })
    , random(random)
{
    match.AssignPlayerColors();

    QObject::connect(&form1.Timer1, &QTimer::timeout, &form1, [this] { Timer1_Timer(); });
    QObject::connect(form1.Picture1, &PlayfieldView::KeyDown, &form1, [this](QKeyEvent* event) {
        keyboard.Picture1_KeyDown(heldKeys.Pressed(*event));
    });
    QObject::connect(form1.Picture1, &PlayfieldView::KeyUp, &form1, [this](QKeyEvent* event) {
        // X11 sends a release before every repeated press of a held key;
        // the key is still down.
        if (event->isAutoRepeat())
            return;
        keyboard.Picture1_KeyUp(heldKeys.Released(*event));
    });
}

void Session::StartTemporaryMatch()
{
    match.LastPlayer = 1;
    for (int slot = 0; slot <= match.LastPlayer; ++slot) {
        match.Players[slot].Score = 0;
        form1.Label2[slot]->setText(QStringLiteral("00"));
    }
    match.Level = 1;
    match.StartRound(random);
    form1.ShowScoreRows(match.LastPlayer);
    game.Field().ClearPlayfield();
    form1.show();
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

void Session::ShowWinners()
{
    StartTemporaryMatch();
}

void Session::Timer1_Timer()
{
    // A window opened from inside a tick runs its own event loop; Qt does
    // not deliver this timer again until the tick has returned.
    game.Tick();
    for (const QRect& changed : game.Field().TakeChanged())
        form1.Picture1->update(changed);
}
