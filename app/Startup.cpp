#include "Startup.h"

#include "ProgramIcon.h"

#include <QApplication>

void SetScreenScaling()
{
    // A game pixel is always a whole block of screen pixels: 150 % goes to
    // 200 %, so trails and frames stay crisp and the layouts keep their shape.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    // The style's own sizes (tick boxes, text box frames) then follow the
    // whole scale as well, not the fraction it was rounded from; the fonts
    // do so through DesignFont.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
}

void DeclareProgram()
{
    QApplication::setApplicationName(QStringLiteral("Klikvar"));
    QApplication::setApplicationVersion(QStringLiteral(KLIKVAR_VERSION));
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KLIKVAR_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());
}
