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
    void heldMessagesArePassedOnOnceTheDisplayOpens_data();
    void heldMessagesArePassedOnOnceTheDisplayOpens();
    void noWindowSaysWhyInOneLine_data();
    void noWindowSaysWhyInOneLine();
    void platformAskedFor_data();
    void platformAskedFor();
};

namespace {

// What reached the message handler of the program, "type category text".
QStringList passedOn;

void RecordMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    passedOn << QStringLiteral("%1 %2 %3").arg(type).arg(QLatin1String(context.category), text);
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
    QTest::newRow("debug") << int(QtDebugMsg);
    QTest::newRow("information") << int(QtInfoMsg);
    QTest::newRow("warning") << int(QtWarningMsg);
    QTest::newRow("critical") << int(QtCriticalMsg);
}

void StartupTest::heldMessagesArePassedOnOnceTheDisplayOpens()
{
    QFETCH(int, type);
    passedOn.clear();
    const QtMessageHandler before = qInstallMessageHandler(RecordMessage);
    const QMessageLogContext context("file.cpp", 7, "function", "qt.qpa.test");
    {
        const HeldStartMessages held;
        qt_message_output(QtMsgType(type), context, QStringLiteral("first"));
        qt_message_output(QtMsgType(type), context, QStringLiteral("second"));
        QCOMPARE(passedOn, QStringList());
    }
    qt_message_output(QtMsgType(type), context, QStringLiteral("after"));
    qInstallMessageHandler(before);
    const QString prefix = QStringLiteral("%1 qt.qpa.test ").arg(type);
    QCOMPARE(passedOn, QStringList({prefix + "first", prefix + "second", prefix + "after"}));
}

void StartupTest::noWindowSaysWhyInOneLine_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("says");
    const QString noDisplay = QStringLiteral("Klikvar needs a graphical display[^\\n]*");
    QTest::newRow("no DISPLAY") << QString() << QString() << noDisplay + QStringLiteral("DISPLAY not set");
    // Virtual displays take the lowest free number.
    QTest::newRow("nothing listens") << QString() << QStringLiteral(":77")
                                     << noDisplay + QStringLiteral("DISPLAY=:77");
    QTest::newRow("no such platform plugin")
        << QStringLiteral("bogus") << QStringLiteral(":77")
        << QStringLiteral("Klikvar cannot start: Qt has no platform plugin \"bogus\" \\(installed: [^\\n]*xcb");
}

void StartupTest::noWindowSaysWhyInOneLine()
{
#if !defined(Q_OS_UNIX) || defined(Q_OS_DARWIN)
    QSKIP("only X11 and Wayland have a display to miss");
#endif
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(QString, says);
    const QTemporaryDir runtime; // holds no Wayland socket
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
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
    const QRegularExpression oneLine(QStringLiteral("^") + says + QStringLiteral("[^\\n]*\\n\\z"));
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
