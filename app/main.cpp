#include "PlatformChoice.h"
#include "RandomSource.h"
#include "Session.h"
#include "Startup.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    ChoosePlatform(argc, argv);
    SetScreenScaling();
    QApplication app = OpenDisplay(argc, argv);
    DeclareProgram();

    ClockSeededRandom random;
    // Every way out ends the process on the spot, from whichever window or
    // nested loop it comes; nothing runs after it and nothing needs saving.
    Session session(random, [] {
        std::fflush(nullptr);
        std::_Exit(EXIT_SUCCESS);
    });
    session.Form1_Load();
    return QApplication::exec();
}
