#pragma once

#include "Screens.h"

#include <QList>
#include <QRect>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

class Form1;
class Form2;
class Form3;

// What the players see of a match, and the one way into the windows while
// it runs: the rules drive it through Screens, and everything it takes is
// plain data (slots, texts, colours, areas), so the match could as well be
// shown from elsewhere. The options are read from the setup window.
class GameView final : public Screens
{
public:
    // headDied: what a death does beyond the windows (a controller rumbles).
    // winnersSeen: the way on once the winner window is closed; it returns
    // when the next match has been started.
    GameView(Form1& gameWindow, const Form2& setupWindow,
             std::function<void(std::int16_t)> headDied, std::function<void()> winnersSeen);
    ~GameView() override;

    // A new match: these names in slot order, every score "00", a row each.
    void ShowPlayers(const QStringList& names);
    void ShowScore(std::int16_t slot, const QString& text) override;
    void SetBannerCaption(const QString& caption) override;
    void SetBannerVisible(bool visible) override;
    void SetCreditColor(ColorRef color) override;
    // The parts of the playfield image that changed.
    void ShowChanged(const QList<QRect>& areas);
    // Whether a round waits for its players.
    void SetWaitSignVisible(bool visible);
    // The winner window, modal, each winner's row in the name and colour of
    // the scoreboard row; then winnersSeen.
    void ShowWinners(const QList<std::int16_t>& winners) override;
    void HeadDied(std::int16_t slot) override;
    // The winner window with these rows, as another computer showed it;
    // modeless, so what comes next keeps arriving. A new one replaces it.
    void ShowWinnerRows(const QList<std::pair<QString, QColor>>& rows);
    void CloseWinnerRows();

    bool PassThroughOn() const override;
    bool CaveInsOn() const override;
    QString RoundsText() const override;

private:
    Form1& gameWindow;
    const Form2& setupWindow;
    std::function<void(std::int16_t)> headDied;
    std::function<void()> winnersSeen;
    std::unique_ptr<Form3> shownWinners;
};
