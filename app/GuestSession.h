#pragma once

#include "Form1.h"
#include "Form2.h"
#include "GameView.h"
#include "GuestLink.h"
#include "Keyboard.h"
#include "Playfield.h"
#include "VirtualKeys.h"

#include <QTimer>

#include <functional>

// A joined computer's run of the program: the game window driven from the
// host's stream instead of rules of its own, its keys sent for its seats
// (its first seat on player 1's keys, its second on player 2's, ...).
class GuestSession final
{
public:
    // ended: the match is over for this computer, with the line to say and
    // the exit status; it does not return.
    GuestSession(net::Transport& transport, net::PeerId host, const net::Hello& hello,
                 std::function<void(const QString& line, int status)> ended);

    // Handles what arrived and shows it; runs every 10 ms on its own.
    void Serve();

    Playfield field;
    Form1 form1{field.Image()};

private:
    void KeysChanged();
    void NewRound();
    void Leave();

    Form2 unusedSetup; // the view reads options from it; a joined computer has none
    GameView view;
    net::GuestLink link;
    LayoutAwareKeys keys;
    Keyboard keyboard;
    std::function<void(const QString&, int)> ended;
    QTimer serveTimer;
    int served = 0;
};
