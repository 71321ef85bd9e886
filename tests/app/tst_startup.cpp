#include "PlatformChoice.h"
#include "Startup.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// What the system learns of the program: the name and version in its about
// data and the desktop entry it belongs to, and the icon its windows show.
class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void programDeclaresItself();
    void noDisplaySaysSoInOneLine_data();
    void noDisplaySaysSoInOneLine();
    void platformAskedFor_data();
    void platformAskedFor();
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

void StartupTest::noDisplaySaysSoInOneLine_data()
{
    QTest::addColumn<QString>("display");
    QTest::newRow("no DISPLAY") << QString();
    QTest::newRow("nothing listens") << QStringLiteral(":77"); // virtual displays take the lowest free
}

void StartupTest::noDisplaySaysSoInOneLine()
{
#if !defined(Q_OS_UNIX) || defined(Q_OS_DARWIN)
    QSKIP("only X11 and Wayland have a display to miss");
#endif
    QFETCH(QString, display);
    const QTemporaryDir runtime; // holds no Wayland socket
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess game;
    game.setProcessEnvironment(environment);
    game.start(QStringLiteral(KLIKVAR_BINARY), {});
    QVERIFY(game.waitForFinished(20000));
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 1);
    QCOMPARE(game.readAllStandardOutput(), QByteArray());
    const QString error = QString::fromLocal8Bit(game.readAllStandardError());
    const QString tried = display.isEmpty() ? QStringLiteral("DISPLAY not set") : QStringLiteral("DISPLAY=") + display;
    const QRegularExpression oneLine(QStringLiteral("^Klikvar needs a graphical display[^\\n]*")
                                     + QRegularExpression::escape(tried) + QStringLiteral("[^\\n]*\\n\\z"));
    QVERIFY2(oneLine.match(error).hasMatch(), qPrintable(error));
}

void StartupTest::platformAskedFor_data()
{
    QTest::addColumn<bool>("platformArgument");
    QTest::addColumn<QByteArray>("named");
    QTest::addColumn<bool>("xDisplay");
    QTest::addColumn<bool>("waylandSocket");
    QTest::addColumn<QByteArray>("askedFor");
    QTest::newRow("GNOME or KDE on Wayland, Xwayland beside") << false << QByteArray() << true << true << QByteArray("xcb;wayland");
    QTest::newRow("X11 desktop") << false << QByteArray() << true << false << QByteArray("xcb");
    QTest::newRow("Wayland only") << false << QByteArray() << false << true << QByteArray("wayland");
    QTest::newRow("nothing at all") << false << QByteArray() << false << false << QByteArray("xcb");
    QTest::newRow("player names wayland") << false << QByteArray("wayland") << true << true << QByteArray();
    QTest::newRow("player passes -platform") << true << QByteArray() << true << true << QByteArray();
}

void StartupTest::platformAskedFor()
{
    QFETCH(bool, platformArgument);
    QFETCH(QByteArray, named);
    QFETCH(bool, xDisplay);
    QFETCH(bool, waylandSocket);
    QFETCH(QByteArray, askedFor);
    QCOMPARE(PlatformToAskFor(platformArgument, named, xDisplay, waylandSocket), askedFor);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
