#include "ProgramIcon.h"
#include "RandomSource.h"
#include "Session.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    // A game pixel is always a whole block of screen pixels: 150 % goes to
    // 200 %, so trails and frames stay crisp and the layouts keep their shape.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Klikvar"));
    QApplication::setApplicationVersion(QStringLiteral(KLIKVAR_VERSION));
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KLIKVAR_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());

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
