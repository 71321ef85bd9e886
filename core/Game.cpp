#include "Game.h"

#include "MatchOptions.h"
#include "Module1.h"
#include "RandomSource.h"
#include "Rounding.h"
#include "Rules.h"
#include "Screens.h"


namespace {

constexpr double TurnPerTick = 0.05;
constexpr double PassThroughChance = 0.998; // a draw above this wins
constexpr double PassThroughLongest = 2000;
constexpr double CaveInChance = 0.995;
constexpr int CaveInSize = 20;
constexpr int FrameCorner = 448;

void Steer(PlayerRecord& p, double turn)
{
    p.Angle = StoreSingle(double(p.Angle) + turn);
    AimHeading(p);
}

} // namespace

Game::Game(Module1& match, Screens& screens, RandomSource& random)
    : match(match), screens(screens), random(random)
{
}

void Game::Tick()
{
    TickCount = std::int16_t(TickCount + 1);
    if (TickCount >= 20)
        TickCount = 0;
    if (Paused)
        return;

    const int last = match.LastActiveSlot();
    for (int slot = 0; slot <= last; ++slot) {
        if (PlayerStep(slot) == Outcome::MatchOver)
            return;
    }
    // After all trails, so a segment laid over the frame is covered again.
    field.DrawFrame(0, 0, FrameCorner, FrameCorner, White);
    CaveInLottery();
    RecolourCredit();
}

Game::Outcome Game::PlayerStep(int slot)
{
    PlayerRecord& p = match.Players[slot];
    if (p.Dead)
        return Outcome::Continue;
    if (p.PassTicks > 0)
        --p.PassTicks;

    // Both keys held: the two turns cancel.
    if (p.TurnLeft)
        Steer(p, +TurnPerTick);
    if (p.TurnRight)
        Steer(p, -TurnPerTick);

    p.OldX = p.X;
    p.OldY = p.Y;
    p.X = StoreSingle(double(p.X) + p.DX);
    p.Y = StoreSingle(double(p.Y) + p.DY);

    // Probe before this tick's segment is drawn, so a head never meets it.
    HitColor = ProbeAhead(field, p);
    if (Dies(p, HitColor) && HandleDeath(slot) == Outcome::MatchOver)
        return Outcome::MatchOver;

    // A player who just died still lays its last segment.
    PassThroughLottery(p);
    field.DrawSegment(p.OldX, p.OldY, p.X, p.Y, p.PassTicks > 0 ? White : p.Color);
    return Outcome::Continue;
}

Game::Outcome Game::HandleDeath(int slot)
{
    CreditHit(match, screens, HitColor, std::int16_t(slot));
    match.Players[slot].Dead = true;
    screens.HeadDied(std::int16_t(slot));
    if (!CheckLastSurvivor(match, screens))
        return Outcome::Continue;

    match.Level = std::int16_t(match.Level + 1);
    screens.SetBannerCaption(QStringLiteral("Level %1").arg(match.Level));
    if (NumberOfRounds(screens) < match.Level) {
        screens.ShowWinners(WinnerSlots(match));
        return Outcome::MatchOver;
    }
    screens.SetBannerVisible(true);
    Paused = true;
    return Outcome::Continue;
}

void Game::PassThroughLottery(PlayerRecord& p)
{
    // Drawn even with the option off, so the option never shifts the sequence.
    const double r = random.Rnd();
    if (r > PassThroughChance && p.PassTicks == 0 && screens.PassThroughOn())
        p.PassTicks = std::int16_t(RoundHalfEven(random.Rnd() * PassThroughLongest));
}

void Game::CaveInLottery()
{
    const double r = random.Rnd();
    if (!(r > CaveInChance && screens.CaveInsOn()))
        return;
    CaveX = std::int16_t(RoundHalfEven(random.Rnd() * Playfield::Size));
    CaveY = std::int16_t(RoundHalfEven(random.Rnd() * Playfield::Size));
    field.FillBox(CaveX, CaveY, CaveX + CaveInSize, CaveY + CaveInSize, Black);
}

void Game::RecolourCredit()
{
    if (TickCount % 10 != 0)
        return;
    const double red = random.Rnd();
    const double green = random.Rnd();
    screens.SetCreditColor(MakeColorRef(RoundHalfEven(red * 255), RoundHalfEven(green * 255), 0));
}

bool Game::StartNextRound()
{
    if (!Paused)
        return false;
    Paused = false;
    field.ClearPlayfield();
    match.StartRound(random);
    screens.SetBannerVisible(false);
    return true;
}
