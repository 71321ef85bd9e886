// The game as app/main.cpp starts it, with virtual game controllers from
// SDL's virtual joystick driver plugged in from the start, for bench/idle.sh:
// such controllers exist only inside the process that makes them.
// Usage: klikvar_pads_game [number of controllers, 2 unless given]

#include "PlatformChoice.h"
#include "RandomSource.h"
#include "Session.h"
#include "Startup.h"
#include "VirtualPad.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

int main(int argc, char* argv[])
{
    ChoosePlatform(argc, argv);
    SetScreenScaling();
    QApplication app = OpenDisplay(argc, argv);
    DeclareProgram();

    ClockSeededRandom random;
    Session session(random, [] {
        std::fflush(nullptr);
        std::_Exit(EXIT_SUCCESS);
    });
    // After the session has started SDL; never unplugged, the process ends first.
    std::deque<VirtualPad> pads(argc > 1 ? std::stoul(argv[1]) : 2);
    session.Form1_Load();
    return QApplication::exec();
}
