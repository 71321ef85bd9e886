#include "PlatformChoice.h"
#ifdef KLIKVAR_DESKTOP_PROBE
#include "PlatformChoiceProbe.h"
#endif
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
    void heldMessagesArePassedOnOnceTheDisplayOpens_data();
    void heldMessagesArePassedOnOnceTheDisplayOpens();
    void noWindowSaysWhyInOneLine_data();
    void noWindowSaysWhyInOneLine();
    void platformAskedFor_data();
    void platformAskedFor();
#ifdef KLIKVAR_DESKTOP_PROBE
    void xftDpiReadAsQtReadsIt_data();
    void xftDpiReadAsQtReadsIt();
#endif
};

namespace {

// What reached the message handler of the program, "type category text".
QStringList passedOn;

void RecordMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    passedOn << QStringLiteral("%1 %2 %3").arg(type).arg(QLatin1String(context.category), text);
}

// An X server that lets in only the holders of a cookie, which it keeps in
// the folder; its display, or nothing.
QString StartRefusingServer(QProcess& server, const QString& folder)
{
    const QString cookies = folder + QStringLiteral("/server-cookies");
    QProcess xauth;
    xauth.start(QStringLiteral("xauth"), {QStringLiteral("-q"), QStringLiteral("-f"), cookies, QStringLiteral("add"),
                                          QStringLiteral(":0"), QStringLiteral("."),
                                          QStringLiteral("0123456789abcdef0123456789abcdef")});
    if (!xauth.waitForFinished(5000) || xauth.exitCode() != 0)
        return {};
    server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-auth"),
                                          cookies, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!server.waitForReadyRead(10000))
        return {};
    return QStringLiteral(":") + QString::fromLatin1(server.readLine().trimmed());
}

} // namespace

void StartupTest::programDeclaresItself()
{
    DeclareProgram();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Klikvar"));
    // The build's own, from debian/changelog: a release bumps it there only.
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral(KLIKVAR_VERSION));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("cz.klikvar.klikvar"));
    const QIcon icon = QApplication::windowIcon();
    QCOMPARE(icon.actualSize(QSize(32, 32)), QSize(32, 32));
    QVERIFY(!icon.pixmap(32, 32).isNull());
}

void StartupTest::heldMessagesArePassedOnOnceTheDisplayOpens_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("passed");
    QTest::newRow("debug") << int(QtDebugMsg) << QStringLiteral("first") << true;
    QTest::newRow("information") << int(QtInfoMsg) << QStringLiteral("first") << true;
    QTest::newRow("warning") << int(QtWarningMsg) << QStringLiteral("first") << true;
    QTest::newRow("critical") << int(QtCriticalMsg) << QStringLiteral("first") << true;
    // Every start as root outside a desktop session would print it.
    QTest::newRow("no runtime folder") << int(QtWarningMsg)
        << QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'") << false;
}

void StartupTest::heldMessagesArePassedOnOnceTheDisplayOpens()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(bool, passed);
    passedOn.clear();
    const QtMessageHandler before = qInstallMessageHandler(RecordMessage);
    const QMessageLogContext context("file.cpp", 7, "function", "qt.qpa.test");
    {
        const HeldStartMessages held;
        qt_message_output(QtMsgType(type), context, text);
        qt_message_output(QtMsgType(type), context, QStringLiteral("second"));
        QCOMPARE(passedOn, QStringList());
    }
    qt_message_output(QtMsgType(type), context, QStringLiteral("after"));
    qInstallMessageHandler(before);
    const QString prefix = QStringLiteral("%1 qt.qpa.test ").arg(type);
    QStringList expected{prefix + "second", prefix + "after"};
    if (passed)
        expected.prepend(prefix + text);
    QCOMPARE(passedOn, expected);
}

void StartupTest::noWindowSaysWhyInOneLine_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("runtimeFolder");
    QTest::addColumn<QString>("says");
    const QString noDisplay = QStringLiteral("Klikvar needs a graphical display[^\\n]*");
    QTest::newRow("no DISPLAY") << QString() << QString() << true << noDisplay + QStringLiteral("DISPLAY not set");
    // Virtual displays take the lowest free number.
    QTest::newRow("nothing listens") << QString() << QStringLiteral(":77") << true
                                     << noDisplay + QStringLiteral("DISPLAY=:77");
    QTest::newRow("no such platform plugin")
        << QStringLiteral("bogus") << QStringLiteral(":77") << true
        << QStringLiteral("Klikvar cannot start: Qt has no platform plugin \"bogus\" \\(installed: [^\\n]*xcb");
    // libwayland complains on standard error by itself.
    QTest::newRow("Wayland without a runtime folder")
        << QStringLiteral("wayland") << QString() << false << noDisplay + QStringLiteral("XDG_RUNTIME_DIR not set");
    // So does the X library, when the server wants a cookie the game lacks.
    QTest::newRow("X server refuses") << QString() << QStringLiteral("refusing") << true
                                      << noDisplay + QStringLiteral("Reported: Authorization required");
}

void StartupTest::noWindowSaysWhyInOneLine()
{
#if !defined(Q_OS_UNIX) || defined(Q_OS_DARWIN)
    QSKIP("only X11 and Wayland have a display to miss");
#endif
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(bool, runtimeFolder);
    QFETCH(QString, says);
    const QTemporaryDir runtime; // holds no Wayland socket
    QProcess server;
    const auto stopServer = qScopeGuard([&server] {
        server.kill();
        server.waitForFinished(5000);
    });
    if (display == QStringLiteral("refusing")) {
        display = StartRefusingServer(server, runtime.path());
        if (display.isEmpty())
            QSKIP("needs Xvfb and xauth");
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    if (runtimeFolder)
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    else
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    // The game's own cookie file is not the server's.
    environment.insert(QStringLiteral("XAUTHORITY"), runtime.filePath(QStringLiteral("none")));
    QProcess game;
    game.setProcessEnvironment(environment);
    game.start(QStringLiteral(KLIKVAR_BINARY), {});
    QVERIFY(game.waitForFinished(20000));
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 1);
    QCOMPARE(game.readAllStandardOutput(), QByteArray());
    const QString error = QString::fromLocal8Bit(game.readAllStandardError());
    const QRegularExpression oneLine(QStringLiteral("^") + says + QStringLiteral("[^\\n]*\\n\\z"));
    QVERIFY2(oneLine.match(error).hasMatch(), qPrintable(error));
}

void StartupTest::platformAskedFor_data()
{
    QTest::addColumn<bool>("platformArgument");
    QTest::addColumn<QByteArray>("named");
    QTest::addColumn<bool>("xDisplay");
    QTest::addColumn<bool>("waylandSocket");
    QTest::addColumn<int>("waylandScale");
    QTest::addColumn<int>("xDpi");
    QTest::addColumn<QByteArray>("askedFor");
    QTest::newRow("GNOME or KDE on Wayland at 100 %, Xwayland beside") << false << QByteArray() << true << true << 1 << 0 << QByteArray("xcb;wayland");
    QTest::newRow("X11 desktop") << false << QByteArray() << true << false << 0 << 0 << QByteArray("xcb");
    QTest::newRow("Wayland only") << false << QByteArray() << false << true << 0 << 0 << QByteArray("wayland");
    QTest::newRow("nothing at all") << false << QByteArray() << false << false << 0 << 0 << QByteArray("xcb");
    QTest::newRow("player names wayland") << false << QByteArray("wayland") << true << true << 1 << 96 << QByteArray();
    QTest::newRow("player passes -platform on a stretching desktop") << true << QByteArray() << true << true << 2 << 96 << QByteArray();
    // The desktop would stretch the X windows: KDE's default, sway, GNOME's
    // fractional scales.
    QTest::newRow("Wayland at 2x, X at 96 dpi") << false << QByteArray() << true << true << 2 << 96 << QByteArray("wayland;xcb");
    // GNOME at 200 % tells X programs, which then draw at 2x themselves.
    QTest::newRow("Wayland at 2x, X at 192 dpi") << false << QByteArray() << true << true << 2 << 192 << QByteArray("xcb;wayland");
    QTest::newRow("Wayland scale not learnt") << false << QByteArray() << true << true << 0 << 96 << QByteArray("xcb;wayland");
    QTest::newRow("X dpi not learnt") << false << QByteArray() << true << true << 2 << 0 << QByteArray("xcb;wayland");
}

void StartupTest::platformAskedFor()
{
    QFETCH(bool, platformArgument);
    QFETCH(QByteArray, named);
    QFETCH(bool, xDisplay);
    QFETCH(bool, waylandSocket);
    QFETCH(int, waylandScale);
    QFETCH(int, xDpi);
    QFETCH(QByteArray, askedFor);
    QCOMPARE(PlatformToAskFor(platformArgument, named, xDisplay, waylandSocket, {waylandScale, xDpi}),
             askedFor);
}

#ifdef KLIKVAR_DESKTOP_PROBE
void StartupTest::xftDpiReadAsQtReadsIt_data()
{
    QTest::addColumn<QByteArray>("resources");
    QTest::addColumn<int>("dpi");
    QTest::newRow("among others") << QByteArray("Xcursor.size:\t24\nXft.dpi:\t192\nXft.hinting:\t1\n") << 192;
    QTest::newRow("none") << QByteArray("Xft.dpiScale:\t2\nXcursor.size:\t24\n") << 0;
    QTest::newRow("with a fraction") << QByteArray("Xft.dpi:\t143.9") << 144;
}

void StartupTest::xftDpiReadAsQtReadsIt()
{
    QFETCH(QByteArray, resources);
    QFETCH(int, dpi);
    QCOMPARE(XftDpi(resources), dpi);
}
#endif

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
