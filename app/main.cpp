#include "ProgramIcon.h"
#include "RandomSource.h"
#include "Session.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Klikvar"));
    QApplication::setApplicationVersion(QStringLiteral(KLIKVAR_VERSION));
    QApplication::setWindowIcon(ProgramIcon());

    ClockSeededRandom random;
    Session session(random);
    QObject::connect(&session.form1, &Form1::Unloaded, &app, [] { QCoreApplication::exit(0); });
    session.StartTemporaryMatch();
    return QApplication::exec();
}
