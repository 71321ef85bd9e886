#pragma once

#include "BlinkRest.h"
#include "Controllers.h"
#include "Form1.h"
#include "Form2.h"
#include "Game.h"
#include "GameView.h"
#include "Keyboard.h"
#include "Module1.h"
#include "VirtualKeys.h"
#include "XFocusWatch.h"

#include <QTimer>

#include <functional>
#include <memory>

class RandomSource;
namespace net {
class HostMatch;
class Transport;
} // namespace net

// One run of the program: the match, the game behind the game window, the
// setup window, the keys and game controllers, and the way from match to
// match. What the rules show goes through its view, never straight to the
// windows.
class Session final
{
public:
    // endProgram ends the process at once and does not return. hosting:
    // the network other computers join this match over, with the code they
    // must give; none plays on this computer alone and touches no network.
    Session(RandomSource& random, std::function<void()> endProgram,
            net::Transport* hosting = nullptr, std::uint16_t joinCode = 0);
    ~Session();

    // Start-up: the setup window first; the game window opens with Start.
    void Form1_Load();
    // Start on the setup window: a new match with what it holds.
    void Start();
    // Every way out ends here.
    void Form1_Unload();

    // Built on the view below and in front of it, for the rules; goes last.
    std::unique_ptr<net::HostMatch> host;
    // The windows come last, so they go first: the game window loses the
    // focus as it goes, and the keys it then lets go of still exist.
    Module1 match;
    Game game;
    Keyboard keyboard;
    Controllers controllers;

private:
    void Timer1_Timer();
    // After the winner window: the setup window, until the next match starts.
    void SetUpNextMatch();
    // Space, or a controller's button: the next round, if one waits.
    void NextRound();
    // The one place that writes the players' turn flags: each turns while a
    // key or a controller asks for it.
    void SetTurnFlags();
    // A computer joined on these players (bits 0..5): the setup window
    // ticks their boxes and names its first.
    void SeatGuest(std::uint8_t seats, const QString& name);
    // The keyboard went elsewhere, and its releases with it.
    void LetGoOfEveryKey();
    // A round runs on only while its players can see and steer it.
    bool RoundWaitsForPlayers() const;

    RandomSource& random;
    std::function<void()> endProgram;
    LayoutAwareKeys keys;
    XFocusWatch focusWatch;
    BlinkRest blinkRest;

public:
    Form1 form1;
    Form2 form2;
    // The rules' Screens: built on the windows, so it comes after them.
    GameView view;

private:
    // Joined computers are answered while no tick runs too: at the setup
    // window, between rounds, in the winner window.
    QTimer serveTimer;
};
