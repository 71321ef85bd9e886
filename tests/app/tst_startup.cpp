#include "Startup.h"

#include <QApplication>
#include <QtTest>

// What the system learns of the program: the name and version in its about
// data and the desktop entry it belongs to, and the icon its windows show.
class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void programDeclaresItself();
};

void StartupTest::programDeclaresItself()
{
    DeclareProgram();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Klikvar"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.00.0007"));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("cz.klikvar.klikvar"));
    const QIcon icon = QApplication::windowIcon();
    QCOMPARE(icon.actualSize(QSize(32, 32)), QSize(32, 32));
    QVERIFY(!icon.pixmap(32, 32).isNull());
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
