#pragma once

#include "Game.h"
#include "Module1.h"
#include "RandomSource.h"
#include "Screens.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <functional>

// Stands in for the windows: remembers everything the rules show and answers
// the option reads with whatever the test sets.
class RecordingScreens final : public Screens
{
public:
    void ShowScore(std::int16_t slot, const QString& text) override
    {
        scores[slot] = text;
        log << QStringLiteral("score %1 %2").arg(slot).arg(text);
    }
    void SetBannerCaption(const QString& caption) override
    {
        bannerCaption = caption;
        log << QStringLiteral("caption ") + caption;
    }
    void SetBannerVisible(bool visible) override
    {
        bannerVisible = visible;
        log << (visible ? QStringLiteral("banner shown") : QStringLiteral("banner hidden"));
    }
    void SetCreditColor(ColorRef color) override { creditColors << color; }
    bool PassThroughOn() const override { return passThrough; }
    bool CaveInsOn() const override { return caveIns; }
    QString RoundsText() const override { return rounds; }
    void ShowWinners(const QList<std::int16_t>& winners) override
    {
        ++winnersShown;
        QStringList named;
        for (const std::int16_t slot : winners)
            named << QString::number(slot);
        log << QStringLiteral("winners ") + named.join(u' ');
        if (onShowWinners)
            onShowWinners();
    }

    bool passThrough = false;
    bool caveIns = false;
    QString rounds = QStringLiteral("25");
    std::function<void()> onShowWinners;

    QMap<int, QString> scores;
    QString bannerCaption;
    bool bannerVisible = false;
    QList<ColorRef> creditColors;
    int winnersShown = 0;
    QStringList log;
};

// Hands out the values a test scripts, in order, and counts every draw; past
// the script it returns the fallback and notes that the script ran out.
class ScriptedRandom final : public RandomSource
{
public:
    explicit ScriptedRandom(double fallback = 0.5) : fallback(fallback) {}

    double Rnd() override
    {
        ++draws;
        if (!script.isEmpty())
            return script.takeFirst();
        ranOut = true;
        return fallback;
    }

    QList<double> script;
    double fallback;
    int draws = 0;
    bool ranOut = false;
};

// Puts a living head somewhere with a fixed step and no turning.
inline PlayerRecord& PlaceHead(Module1& match, int slot, float x, float y, float dx, float dy)
{
    PlayerRecord& p = match.Players[slot];
    p.X = x;
    p.Y = y;
    p.DX = dx;
    p.DY = dy;
    p.Speed = 1;
    p.Dead = false;
    p.PassTicks = 0;
    return p;
}

// A match of LastPlayer + 1 players on a black field, wired to the fakes.
struct Arena
{
    explicit Arena(int lastPlayer)
    {
        match.LastPlayer = std::int16_t(lastPlayer);
        match.Level = 1;
        match.AssignPlayerColors();
    }

    PlayerRecord& Place(int slot, float x, float y, float dx, float dy)
    {
        return PlaceHead(match, slot, x, y, dx, dy);
    }

    ColorRef At(double x, double y) const
    {
        return game.Field().ReadPixel(int(x), int(y));
    }

    Module1 match;
    RecordingScreens screens;
    ScriptedRandom random;
    Game game{match, screens, random};
};

// Nothing drawn, or everything cleared.
inline bool FieldIsBlack(const Playfield& field)
{
    for (int y = 0; y < Playfield::Size; ++y)
        for (int x = 0; x < Playfield::Size; ++x)
            if (field.ReadPixel(x, y) != Black)
                return false;
    return true;
}

// Six players, both options on and rounds without end, on a seeded clock
// random source: a long, busy run of the real game.
struct BusyMatch
{
    explicit BusyMatch(unsigned seed) : random(seed)
    {
        match.AssignPlayerColors();
        match.LastPlayer = 5;
        match.Level = 1;
        screens.passThrough = screens.caveIns = true;
        screens.rounds = QStringLiteral("10000");
        match.StartRound(random);
    }

    Module1 match;
    RecordingScreens screens;
    ClockSeededRandom random;
    Game game{match, screens, random};
};
