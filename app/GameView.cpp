#include "GameView.h"

#include "Form1.h"
#include "Form2.h"
#include "Form3.h"

namespace {

// A slot from outside the rules may name no row at all.
bool HasRow(int slot)
{
    return slot >= 0 && slot < Form1::ScoreRows;
}

} // namespace

GameView::GameView(Form1& gameWindow, const Form2& setupWindow,
                   std::function<void(std::int16_t)> headDied, std::function<void()> winnersSeen)
    : gameWindow(gameWindow)
    , setupWindow(setupWindow)
    , headDied(std::move(headDied))
    , winnersSeen(std::move(winnersSeen))
{
}

GameView::~GameView() = default;

void GameView::ShowPlayers(const QStringList& names)
{
    const int players = int(std::min<qsizetype>(names.size(), Form1::ScoreRows));
    for (int slot = 0; slot < players; ++slot) {
        gameWindow.SetName(slot, names[slot]);
        gameWindow.SetScore(slot, QStringLiteral("00"));
    }
    gameWindow.ShowScoreRows(std::int16_t(players - 1));
}

void GameView::ShowScore(std::int16_t slot, const QString& text)
{
    if (HasRow(slot))
        gameWindow.SetScore(slot, text);
}

void GameView::SetBannerCaption(const QString& caption)
{
    gameWindow.SetBannerCaption(caption);
}

void GameView::SetBannerVisible(bool visible)
{
    gameWindow.SetBannerVisible(visible);
}

void GameView::SetCreditColor(ColorRef color)
{
    gameWindow.SetCreditColor(ToQColor(color));
}

void GameView::ShowChanged(const QList<QRect>& areas)
{
    for (const QRect& area : areas)
        gameWindow.RepaintPlayfield(area);
}

void GameView::SetWaitSignVisible(bool visible)
{
    gameWindow.SetWaitSignVisible(visible);
}

void GameView::ShowWinners(const QList<std::int16_t>& winners)
{
    {
        // Discarded when closed, with every row a tie added. Its own event
        // loop serves every other event meanwhile.
        Form3 form3(&gameWindow);
        for (const std::int16_t slot : winners)
            if (HasRow(slot))
                form3.AddWinner(gameWindow.Name(slot), gameWindow.NameColor(slot));
        form3.exec();
    }
    winnersSeen();
}

void GameView::ShowWinnerRows(const QList<std::pair<QString, QColor>>& rows)
{
    shownWinners = std::make_unique<Form3>(&gameWindow);
    for (const auto& [name, color] : rows)
        shownWinners->AddWinner(name, color);
    shownWinners->show();
}

void GameView::CloseWinnerRows()
{
    shownWinners.reset();
}

void GameView::HeadDied(std::int16_t slot)
{
    headDied(slot);
}

bool GameView::PassThroughOn() const
{
    return setupWindow.PassThroughChecked();
}

bool GameView::CaveInsOn() const
{
    return setupWindow.CaveInsChecked();
}

QString GameView::RoundsText() const
{
    return setupWindow.RoundsText();
}
