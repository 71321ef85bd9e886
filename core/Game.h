#pragma once

#include "ColorRef.h"
#include "Playfield.h"

#include <cstdint>

struct Module1;
struct PlayerRecord;
class RandomSource;
class Screens;

// The running game behind the game window: the playfield, the tick that
// moves everyone every 10 ms, and what happens when a head dies.
class Game
{
public:
    Game(Module1& match, Screens& screens, RandomSource& random);

    // One heartbeat of play.
    void Tick();

    // Space between rounds: a clean field, everyone placed anew, banner gone.
    // Does nothing while a round runs.
    bool StartNextRound();

    Playfield& Field() { return field; }
    const Playfield& Field() const { return field; }

    bool Paused = false;           // a round is over, waiting for Space
    std::int16_t TickCount = 0;    // 0..19, drives the credit colour
    ColorRef HitColor = 0;         // what the current head ran into
    std::int16_t CaveX = 0;        // corner of the latest cave-in
    std::int16_t CaveY = 0;

private:
    enum class Outcome { Continue, MatchOver };

    Outcome PlayerStep(int slot);
    Outcome HandleDeath(int slot);
    void PassThroughLottery(PlayerRecord& player);
    void CaveInLottery();
    void RecolourCredit();

    Module1& match;
    Screens& screens;
    RandomSource& random;
    Playfield field;
};
