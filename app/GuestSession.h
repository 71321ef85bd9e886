#pragma once

#include "Controllers.h"
#include "Form1.h"
#include "Form2.h"
#include "GameView.h"
#include "GuestLink.h"
#include "Keyboard.h"
#include "Module1.h"
#include "Playfield.h"
#include "VirtualKeys.h"

#include <QSocketNotifier>
#include <QTimer>

#include <functional>
#include <memory>

// A joined computer's run of the program: the game window driven from the
// host's stream instead of rules of its own, its keys and game controllers
// sent for its seats (its first seat on player 1's keys, its second on
// player 2's, ...; the controllers take the seats as a single computer's
// take its players).
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
    void StopServing();
    void NewRound();
    // The controllers take the seats this computer has now.
    void SeatControllers();
    // A head died: the controller of its seat here rumbles, if it has one.
    void Rumble(std::int16_t slot);
    void Leave();

    Form2 unusedSetup; // the view reads options from it; a joined computer has none
    GameView view;
    net::GuestLink link;
    LayoutAwareKeys keys;
    Keyboard keyboard;
    // Its seats as slots from 0, which is all the controllers read of it.
    Module1 seats;
    Controllers controllers;
    std::function<void(const QString&, int)> ended;
    QTimer serveTimer;
    // What arrives is shown at once, not at the next serve.
    std::unique_ptr<QSocketNotifier> arrivals;
    int served = 0;
};
