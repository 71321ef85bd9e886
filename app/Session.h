#pragma once

#include "Form1.h"
#include "Game.h"
#include "Keyboard.h"
#include "Module1.h"
#include "Screens.h"
#include "VirtualKeys.h"

class RandomSource;

// One run of the program: the match, the game behind the game window, the
// window itself and the keys, wired together. It is also the rules' view of
// the windows: scores, banner and credit go to the game window.
class Session final : public Screens
{
public:
    explicit Session(RandomSource& random);

    // Until the setup window exists: two players, the designed options and
    // 25 rounds, starting at once and again after every match.
    void StartTemporaryMatch();

    void ShowScore(std::int16_t slot, const QString& text) override;
    void SetBannerCaption(const QString& caption) override;
    void SetBannerVisible(bool visible) override;
    void SetCreditColor(ColorRef color) override;
    bool PassThroughOn() const override { return false; }
    bool CaveInsOn() const override { return false; }
    QString RoundsText() const override { return QStringLiteral("25"); }
    void ShowWinners() override;

    Module1 match;
    Game game;
    Form1 form1;
    Keyboard keyboard;

private:
    void Timer1_Timer();

    RandomSource& random;
    HeldKeys heldKeys;
};
