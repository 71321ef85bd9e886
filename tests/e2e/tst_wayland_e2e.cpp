#include "NestedCompositor.h"
#include "PlayfieldBlocks.h"
#include "Program.h"
#include "VirtualDisplay.h"

#include <QThread>
#include <QtTest>

namespace {

const QSize SetupSize(326, 392);
const QSize WinnerSize(417, 290);
// The scaled desktop: 200 %, on a screen where the game's windows fit.
constexpr int Scale = 2;
const QSize ScaledScreen(1600, 1200);

// Where a designed point of a window stands on the desktop's screen: the
// desktop may make the window larger, and the layout stays in its middle.
QPoint OnScreen(const QRect& window, QSize designed, QPoint at)
{
    return window.topLeft() + QPoint((window.width() - designed.width()) / 2,
                                     (window.height() - designed.height()) / 2) + at;
}

// The inside of the game's one window on weston's grey desktop: the rows
// that are mostly black (the frame's title, buttons and icon have a little
// black too), and the black across them.
QRect BlackArea(const VirtualDisplay& display, const QString& shot)
{
    const QImage screen = display.Screenshot(QStringLiteral("root"), Program::ShotPath(shot));
    QRect area;
    for (int y = 0; y < screen.height(); ++y) {
        QRect row;
        int black = 0;
        for (int x = 0; x < screen.width(); ++x) {
            if (screen.pixel(x, y) == qRgb(0, 0, 0)) {
                row |= QRect(x, y, 1, 1);
                ++black;
            }
        }
        if (black >= screen.width() / 4)
            area |= row;
    }
    return area;
}

// Waits for the black area to be right: the screen is all black until the
// desktop has drawn its background.
template <class Right>
QRect WaitForBlackArea(const VirtualDisplay& display, const QString& shot, Right right)
{
    const QDeadlineTimer deadline(10000);
    QRect area;
    do {
        QThread::msleep(200);
        area = BlackArea(display, shot);
    } while (!right(area.size()) && !deadline.hasExpired());
    return area;
}

// sway at 200 % beside an X server that says nothing of a scale (96 dpi),
// as KDE's default and GNOME's fractional scales are.
bool StartScaledDesktop(VirtualDisplay& display, NestedCompositor& sway, QString* error)
{
    return display.Start(error, {ScaledScreen}, VirtualDisplay::WindowManager::None)
           && sway.Start(error, display, NestedCompositor::Kind::Sway, Scale, ScaledScreen);
}

bool Finished(QProcess& game, int timeoutMs)
{
    return game.waitForFinished(timeoutMs) && game.exitStatus() == QProcess::NormalExit
           && game.exitCode() == 0;
}

} // namespace

// The game on Wayland desktops: which window system it takes, and that no
// request of the desktop ends it or gets round the winner window.
class WaylandEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void anXDisplayBesideWaylandIsTaken();
    void escEndsTheGameOnWayland();
    void closingTheGameWindowUnderTheWinnerWindowIsRefused();
    void fullScreenKeepsTheGameGoing();
    void maximisingKeepsTheLayoutAndTheGameGoing();
    void aDesktopThatWouldStretchXWindowsGetsWholeBlocksOnWayland();
    void anXServerThatTellsTheScaleIsKept();

private:
    void Launch(QProcess& game, const QProcessEnvironment& environment);
    // Starts a match of the rounds given on sway; the setup window's place.
    QRect StartMatch(QProcess& game, const QString& rounds = QString());

    VirtualDisplay display;
    NestedCompositor sway;
};

void WaylandEndToEnd::initTestCase()
{
    QString error;
    QVERIFY2(display.Start(&error, VirtualDisplay::Screen{}, VirtualDisplay::WindowManager::None), qPrintable(error));
    QVERIFY2(sway.Start(&error, display, NestedCompositor::Kind::Sway), qPrintable(error));
}

void WaylandEndToEnd::Launch(QProcess& game, const QProcessEnvironment& environment)
{
    game.setProcessEnvironment(environment);
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start(QStringLiteral(KLIKVAR_BINARY), {});
    QVERIFY2(game.waitForStarted(5000), qPrintable(game.errorString()));
}

QRect WaylandEndToEnd::StartMatch(QProcess& game, const QString& rounds)
{
    Launch(game, sway.Environment());
    const auto setup = sway.WaitForViews(Program::SetupTitle, 1);
    if (setup.size() != 1)
        return {};
    const QRect area = setup.first().area;
    if (!rounds.isEmpty()) {
        sway.Click(OnScreen(area, SetupSize, Program::Rounds));
        display.Keys({QStringLiteral("ctrl+a")});
        display.Type(rounds);
    }
    sway.Click(OnScreen(area, SetupSize, Program::Start));
    return area;
}

void WaylandEndToEnd::anXDisplayBesideWaylandIsTaken()
{
    QProcess game;
    Launch(game, sway.EnvironmentWithX(display));
    QVERIFY2(display.FindWindow(Program::SetupTitle), "no setup window on the X display");
    QVERIFY2(sway.Views(Program::SetupTitle).isEmpty(), "the setup window opened on Wayland");
    game.kill();
    game.waitForFinished(3000);
}

void WaylandEndToEnd::escEndsTheGameOnWayland()
{
    QProcess game;
    QVERIFY2(!StartMatch(game).isEmpty(), "no setup window on sway");
    QCOMPARE(sway.WaitForViews(Program::GameTitle, 1).size(), 1);
    QVERIFY(display.Keys({QStringLiteral("Escape")}));
    QVERIFY2(Finished(game, 5000), "Esc did not end the game with status 0");
}

void WaylandEndToEnd::closingTheGameWindowUnderTheWinnerWindowIsRefused()
{
    QProcess game;
    const QRect setup = StartMatch(game, QStringLiteral("1"));
    QVERIFY2(!setup.isEmpty(), "no setup window on sway");
    const auto windows = sway.WaitForViews(Program::GameTitle, 2, 60000);
    QVERIFY2(windows.size() == 2, "no winner window over the game window");
    const bool winnerFirst = windows[0].area.size() == WinnerSize;
    const auto winner = windows[winnerFirst ? 0 : 1];
    const auto playfield = windows[winnerFirst ? 1 : 0];

    QVERIFY(sway.Command(playfield.id, QStringLiteral("kill")));
    QThread::msleep(1000);
    QVERIFY2(game.state() == QProcess::Running, "closing the game window ended the game");
    QCOMPARE(sway.Views(Program::GameTitle).size(), 2);

    // Closing the winner window still leads back to the setup window.
    QVERIFY(sway.Command(winner.id, QStringLiteral("kill")));
    const auto again = sway.WaitForViews(Program::SetupTitle, 1);
    QCOMPARE(again.size(), 1);
    QVERIFY(sway.Click(OnScreen(again.first().area, SetupSize, Program::Exit)));
    QVERIFY2(Finished(game, 5000), "Exit did not end the game with status 0");
}

void WaylandEndToEnd::fullScreenKeepsTheGameGoing()
{
    QProcess game;
    QVERIFY2(!StartMatch(game).isEmpty(), "no setup window on sway");
    const auto playing = sway.WaitForViews(Program::GameTitle, 1);
    QCOMPARE(playing.size(), 1);
    QVERIFY(sway.Command(playing.first().id, QStringLiteral("fullscreen enable")));
    QThread::msleep(1000);
    QVERIFY2(game.state() == QProcess::Running, "going full screen ended the game");
    // The layout whole in the middle of the screen: player 1's scoreboard
    // outline where the centred design puts it.
    const QImage screen = display.Screenshot(QStringLiteral("root"), Program::ShotPath(QStringLiteral("sway-full-screen.png")));
    const QPoint design = QRect(QPoint(), screen.size()).center() - QPoint(594, 456) / 2 + QPoint(1, 1);
    int outline = 0;
    for (int x = 456; x < 585; ++x)
        outline += screen.pixel(design + QPoint(x, 8)) == qRgb(0, 255, 0);
    QVERIFY2(outline > 120, "the layout is not in the middle of the full screen");
    QVERIFY(display.Keys({QStringLiteral("Escape")}));
    QVERIFY2(Finished(game, 5000), "Esc did not end the game with status 0");
}

// weston: the maximise button of Qt's own frame. The window fills the
// screen, the layout stays whole in its middle and answers there.
void WaylandEndToEnd::maximisingKeepsTheLayoutAndTheGameGoing()
{
    VirtualDisplay westonDisplay;
    NestedCompositor weston;
    QString error;
    QVERIFY2(westonDisplay.Start(&error, VirtualDisplay::Screen{}, VirtualDisplay::WindowManager::None), qPrintable(error));
    QVERIFY2(weston.Start(&error, westonDisplay, NestedCompositor::Kind::Weston), qPrintable(error));
    QProcess game;
    Launch(game, weston.Environment());
    const QRect setup = WaitForBlackArea(westonDisplay, QStringLiteral("weston-setup.png"),
                                         [](QSize size) { return size == SetupSize; });
    QCOMPARE(setup.size(), SetupSize);

    // Qt's frame: 30 pixels of title bar, the maximise button second from
    // the right.
    QVERIFY(weston.Click(QPoint(setup.right() - 36, setup.top() - 15)));
    const QRect maximised = WaitForBlackArea(westonDisplay, QStringLiteral("weston-maximised.png"), [](QSize size) {
        return size.width() > SetupSize.width() && size.height() > SetupSize.height();
    });
    QVERIFY2(game.state() == QProcess::Running, "maximising ended the game");
    QVERIFY2(maximised.width() > SetupSize.width() && maximised.height() > SetupSize.height(),
             "the window did not take the screen");
    QVERIFY(weston.Click(OnScreen(maximised, SetupSize, Program::Exit)));
    QVERIFY2(Finished(game, 5000), "Exit in the middle of the window did not end the game");
}

// There the X windows would be stretched, so the game takes Wayland, where
// Qt draws every game pixel as a whole 2 x 2 block of screen pixels.
void WaylandEndToEnd::aDesktopThatWouldStretchXWindowsGetsWholeBlocksOnWayland()
{
    VirtualDisplay scaledDisplay;
    NestedCompositor scaledSway;
    QString error;
    QVERIFY2(StartScaledDesktop(scaledDisplay, scaledSway, &error), qPrintable(error));
    QProcess game;
    Launch(game, scaledSway.EnvironmentWithX(scaledDisplay));
    const auto setup = scaledSway.WaitForViews(Program::SetupTitle, 1);
    QVERIFY2(setup.size() == 1, "no setup window on Wayland");
    QVERIFY(scaledSway.Click(OnScreen(setup.first().area, SetupSize, Program::Start) * Scale));
    const auto playing = scaledSway.WaitForViews(Program::GameTitle, 1);
    QCOMPARE(playing.size(), 1);
    QThread::msleep(600);
    const QImage screen = scaledDisplay.Screenshot(QStringLiteral("root"),
                                                   Program::ShotPath(QStringLiteral("wayland-200-game.png")));
    QVERIFY(scaledDisplay.Keys({QStringLiteral("Escape")}));
    QVERIFY2(Finished(game, 5000), "Esc did not end the game with status 0");

    const QImage field = screen.copy(QRect(playing.first().area.topLeft() * Scale, QSize(450, 450) * Scale));
    const PlayfieldBlocks blocks = CountPlayfieldBlocks(field, Scale);
    qInfo("%d white and %d trail blocks, %d split", blocks.white, blocks.trail, blocks.split);
    QVERIFY2(blocks.white > 4 * 400 && blocks.trail > 20, "the playfield shows no frame or no trails");
    QCOMPARE(blocks.split, 0);
}

// GNOME at 200 % tells X programs its scale (Xft.dpi 192): they draw at 2x
// themselves, so the X server is kept.
void WaylandEndToEnd::anXServerThatTellsTheScaleIsKept()
{
    VirtualDisplay scaledDisplay;
    NestedCompositor scaledSway;
    QString error;
    QVERIFY2(StartScaledDesktop(scaledDisplay, scaledSway, &error), qPrintable(error));
    QVERIFY(scaledDisplay.SetDpi(192));
    QProcess game;
    Launch(game, scaledSway.EnvironmentWithX(scaledDisplay));
    const bool onX = scaledDisplay.FindWindow(Program::SetupTitle).has_value();
    const bool onWayland = !scaledSway.Views(Program::SetupTitle).isEmpty();
    game.kill();
    game.waitForFinished(3000);
    QVERIFY2(onX && !onWayland, "the setup window did not open on the X server");
}

QTEST_GUILESS_MAIN(WaylandEndToEnd)
#include "tst_wayland_e2e.moc"
