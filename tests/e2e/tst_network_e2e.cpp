#include "PrivateNetwork.h"
#include "Program.h"
#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

#include <unistd.h>

namespace {

const QString HostWindowTitle = QStringLiteral("Q.V.Z Klikvar – hra po síti");
const QString ClosingTitle = QStringLiteral("Q.V.Z Klikvar – konec hry");
const QString JoinTitle = QStringLiteral("Q.V.Z Klikvar – připojit se ke hře");

// Places in the join window's client area: the first game found, the code
// box, Connect, and the inside of the address box.
constexpr QPoint FirstGame(100, 38);
constexpr QPoint CodeBox(164, 169);
constexpr QPoint Connect(163, 292);
constexpr QRect AddressText(140, 139, 160, 13);

// A port of this run's own, so suites running side by side do not meet.
quint16 TestPort()
{
    return quint16(20000 + QCoreApplication::applicationPid() % 20000);
}

// Starts the game on a display with these options, its output kept apart.
bool LaunchGame(const VirtualDisplay& display, QProcess& process, const QStringList& arguments)
{
    process.setProcessEnvironment(display.Environment());
    process.start(QStringLiteral(KLIKVAR_BINARY), arguments);
    return process.waitForStarted(5000);
}

// The join code from the host's line, once it has written it.
std::optional<QString> JoinCode(QProcess& host)
{
    const QRegularExpression code(QStringLiteral("port (\\d+), kód (\\d{4})$"));
    QString said;
    for (QDeadlineTimer deadline(10000); !deadline.hasExpired();) {
        host.waitForReadyRead(100);
        said += QString::fromUtf8(host.readAllStandardOutput());
        if (const auto match = code.match(said.trimmed()); match.hasMatch())
            return match.captured(2);
    }
    return std::nullopt;
}

// The host window's first rows of joined computers, which the game window
// opened later does not cover.
QImage JoinedList(const VirtualDisplay& display, const QString& window, const QString& name)
{
    return display.Screenshot(window, Program::ShotPath(name)).copy(8, 96, 180, 60);
}

// Whether any text is drawn in the area, white on the black box.
bool HasText(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) > 128)
                return true;
        }
    }
    return false;
}

// Starts the game inside one side of the private network.
bool LaunchInside(const PrivateNetwork& lan, int side, const VirtualDisplay& display, QProcess& process,
                  const QStringList& arguments)
{
    process.setProcessEnvironment(display.Environment());
    process.start(QStringLiteral("ip"), lan.Inside(side, QStringLiteral(KLIKVAR_BINARY), arguments));
    return process.waitForStarted(5000);
}

// Waits for a program to end; its exit status, or nothing.
std::optional<int> ExitStatus(QProcess& process, int timeoutMs)
{
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return process.exitCode();
}

} // namespace

class NetworkEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oneRoundOnTwoComputers();
    void theHostPlaysOnWhenTheJoinedComputerIsKilled();
    void theJoinedComputerEndsWhenTheHostIsGone();
    void aComputerFindsTheHostOnTheLanAndJoinsByClicks();

private:
    // The host on one display, a computer that joined it on the other, and
    // the game window each shows once the host pressed Start.
    void StartMatch();
    QImage Field(const VirtualDisplay& display, const QString& window, const QString& name) const;

    VirtualDisplay hostDisplay;
    VirtualDisplay guestDisplay;
    VirtualDisplay watcherDisplay;
    QProcess host;
    QProcess guest;
    QProcess watcher;
    QString port;
    QString code;
    QString hostWindow;
    QString guestWindow;
    // The host window, and what it shows before anybody joined.
    QString listWindow;
    QImage nobodyJoined;
};

void NetworkEndToEnd::initTestCase()
{
    QString error;
    QVERIFY2(hostDisplay.Start(&error), qPrintable(error));
    QVERIFY2(guestDisplay.Start(&error), qPrintable(error));
    QVERIFY2(watcherDisplay.Start(&error), qPrintable(error));
}

void NetworkEndToEnd::init()
{
    host.setReadChannel(QProcess::StandardOutput);
}

void NetworkEndToEnd::cleanup()
{
    StopProcess(watcher);
    StopProcess(guest);
    StopProcess(host);
}

void NetworkEndToEnd::StartMatch()
{
    port = QString::number(TestPort());
    QVERIFY(LaunchGame(hostDisplay, host, {QStringLiteral("--host"), QStringLiteral("--port"), port}));
    const std::optional<QString> joinCode = JoinCode(host);
    QVERIFY(joinCode);
    code = *joinCode;
    const std::optional<QString> list = hostDisplay.FindWindow(HostWindowTitle);
    QVERIFY(list);
    listWindow = *list;
    nobodyJoined = JoinedList(hostDisplay, listWindow, QStringLiteral("network-list-empty.png"));
    QVERIFY(!nobodyJoined.isNull());
    QVERIFY(LaunchGame(guestDisplay, guest,
                       {QStringLiteral("--join"), QStringLiteral("127.0.0.1:") + port, QStringLiteral("--code"),
                        code, QStringLiteral("--name"), QStringLiteral("Eva")}));
    // Seated before Start or not, it is shown the match and its field is
    // repaired within a second.
    const std::optional<QString> started = Program::StartMatch(hostDisplay);
    QVERIFY(started);
    hostWindow = *started;
    const std::optional<QString> joined = guestDisplay.ActivateWindow(Program::GameTitle);
    QVERIFY(joined);
    guestWindow = *joined;
}

QImage NetworkEndToEnd::Field(const VirtualDisplay& display, const QString& window, const QString& name) const
{
    return display.Screenshot(window, Program::ShotPath(name)).copy(0, 0, 450, 450);
}

// Keys on both computers, the round run to its end: the joined computer's
// playfield is the host's, pixel for pixel, and so is that of a third that
// joined mid-round to watch. Esc on the host ends them all.
void NetworkEndToEnd::oneRoundOnTwoComputers()
{
    StartMatch();
    QVERIFY(LaunchGame(watcherDisplay, watcher,
                       {QStringLiteral("--join"), QStringLiteral("127.0.0.1:") + port, QStringLiteral("--code"),
                        code, QStringLiteral("--watch")}));
    const std::optional<QString> watching = watcherDisplay.FindWindow(Program::GameTitle);
    QVERIFY(watching);
    QVERIFY(hostDisplay.Run(QStringLiteral("xdotool"), {QStringLiteral("keydown"), QStringLiteral("Left")}));
    QVERIFY(guestDisplay.Run(QStringLiteral("xdotool"), {QStringLiteral("keydown"), QStringLiteral("Left")}));
    QThread::msleep(300);
    QVERIFY(hostDisplay.Run(QStringLiteral("xdotool"), {QStringLiteral("keyup"), QStringLiteral("Left")}));
    QVERIFY(guestDisplay.Run(QStringLiteral("xdotool"), {QStringLiteral("keyup"), QStringLiteral("Left")}));

    // The round is over once the fields stand still; then they must agree.
    QImage hostField;
    QImage guestField;
    QImage watcherField;
    QImage before;
    for (QDeadlineTimer deadline(60000); !deadline.hasExpired();) {
        hostField = Field(hostDisplay, hostWindow, QStringLiteral("network-host.png"));
        guestField = Field(guestDisplay, guestWindow, QStringLiteral("network-joined.png"));
        watcherField = Field(watcherDisplay, *watching, QStringLiteral("network-watcher.png"));
        if (!hostField.isNull() && hostField == before && hostField == guestField && hostField == watcherField)
            break;
        before = hostField;
        QThread::msleep(500);
    }
    QVERIFY(!hostField.isNull());
    QCOMPARE(guestField, hostField);
    QCOMPARE(watcherField, hostField);

    QVERIFY(hostDisplay.ActivateWindow(Program::GameTitle));
    QVERIFY(hostDisplay.Keys({QStringLiteral("Escape")}));
    QCOMPARE(ExitStatus(host, 10000), std::optional<int>(0));
    QCOMPARE(ExitStatus(guest, 10000), std::optional<int>(0));
    QCOMPARE(ExitStatus(watcher, 10000), std::optional<int>(0));
    QCOMPARE(QString::fromUtf8(guest.readAllStandardError()).trimmed(), QStringLiteral("Hostitel ukončil hru."));
}

void NetworkEndToEnd::theHostPlaysOnWhenTheJoinedComputerIsKilled()
{
    StartMatch();
    // Listed while it is there...
    QVERIFY(JoinedList(hostDisplay, listWindow, QStringLiteral("network-list-joined.png")) != nobodyJoined);
    guest.kill();
    QVERIFY(guest.waitForFinished(5000));
    // ...and gone from the list once the host has given it up, its seats
    // back; the host has not stopped, and still ends as it should.
    QImage list;
    for (QDeadlineTimer deadline(15000); !deadline.hasExpired() && list != nobodyJoined;) {
        QThread::msleep(200);
        list = JoinedList(hostDisplay, listWindow, QStringLiteral("network-list-left.png"));
    }
    QCOMPARE(list, nobodyJoined);
    QCOMPARE(host.state(), QProcess::Running);
    QVERIFY(hostDisplay.ActivateWindow(Program::GameTitle));
    QVERIFY(hostDisplay.Keys({QStringLiteral("Escape")}));
    QCOMPARE(ExitStatus(host, 10000), std::optional<int>(0));
}

void NetworkEndToEnd::theJoinedComputerEndsWhenTheHostIsGone()
{
    StartMatch();
    host.kill();
    QVERIFY(host.waitForFinished(5000));
    // It says so in a window too, which closes by itself before the end.
    QVERIFY(guestDisplay.FindWindow(ClosingTitle));
    QCOMPARE(ExitStatus(guest, 15000), std::optional<int>(0));
    QCOMPARE(QString::fromUtf8(guest.readAllStandardError()).trimmed(),
             QStringLiteral("Spojení s hostitelem se ztratilo, hra skončila."));
}

// Two computers on a LAN of their own: the second finds the host through
// discovery in the join window, joins by clicks, and is back in the window
// when the host ends the match.
void NetworkEndToEnd::aComputerFindsTheHostOnTheLanAndJoinsByClicks()
{
    if (geteuid() != 0)
        QSKIP("making network namespaces needs root");
    PrivateNetwork lan;
    QString error;
    if (!lan.Make(&error))
        QSKIP(qPrintable(QStringLiteral("no private network: ") + error));
    QVERIFY(LaunchInside(lan, 0, hostDisplay, host, {QStringLiteral("--host")}));
    const std::optional<QString> lanCode = JoinCode(host);
    QVERIFY(lanCode);
    const std::optional<QString> list = hostDisplay.FindWindow(HostWindowTitle);
    QVERIFY(list);
    const QImage nobody = JoinedList(hostDisplay, *list, QStringLiteral("lan-list-empty.png"));
    QVERIFY(LaunchInside(lan, 1, guestDisplay, guest, {QStringLiteral("--join"), QStringLiteral("--name"),
                                                       QStringLiteral("Eva")}));
    const std::optional<QString> join = guestDisplay.FindWindow(JoinTitle, QSize(326, 360), 10000);
    QVERIFY(join);

    // Once the host has answered, choosing the first game fills the address.
    bool chosen = false;
    for (QDeadlineTimer deadline(15000); !chosen && !deadline.hasExpired();) {
        QVERIFY(guestDisplay.Click(*join, FirstGame));
        QThread::msleep(300);
        chosen = HasText(guestDisplay.Screenshot(*join, Program::ShotPath(QStringLiteral("lan-join.png"))),
                         AddressText);
    }
    QVERIFY2(chosen, "no game found on the LAN");
    QVERIFY(guestDisplay.Click(*join, CodeBox));
    QVERIFY(guestDisplay.Type(*lanCode));
    QVERIFY(guestDisplay.Click(*join, Connect));

    QImage joined = nobody;
    for (QDeadlineTimer deadline(10000); !deadline.hasExpired() && joined == nobody;) {
        QThread::msleep(200);
        joined = JoinedList(hostDisplay, *list, QStringLiteral("lan-list-joined.png"));
    }
    QVERIFY(joined != nobody);
    QVERIFY(Program::StartMatch(hostDisplay));
    QVERIFY(guestDisplay.FindWindow(Program::GameTitle));
    QVERIFY(guestDisplay.VisibleWindows(JoinTitle).isEmpty());

    QVERIFY(hostDisplay.ActivateWindow(Program::GameTitle));
    QVERIFY(hostDisplay.Keys({QStringLiteral("Escape")}));
    QCOMPARE(ExitStatus(host, 10000), std::optional<int>(0));
    QVERIFY(guestDisplay.FindWindow(JoinTitle, QSize(326, 360), 10000));
    QCOMPARE(guest.state(), QProcess::Running);
    StopProcess(guest);
}

QTEST_GUILESS_MAIN(NetworkEndToEnd)
#include "tst_network_e2e.moc"
