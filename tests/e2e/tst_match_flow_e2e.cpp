#include "Program.h"
#include "VirtualDisplay.h"

#include <algorithm>

#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

namespace {

const QList<QRgb> PlayerColours = {qRgb(0, 255, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)};

int CountPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

// Where the image is white: the sign's letters.
QList<QPoint> WhitePixels(const QImage& image)
{
    QList<QPoint> white;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(255, 255, 255))
                white << QPoint(x, y);
    return white;
}

// Whether every one of those pixels is still white.
bool StillWhite(const QImage& image, const QList<QPoint>& pixels)
{
    return std::all_of(pixels.begin(), pixels.end(),
                       [&image](QPoint at) { return image.pixel(at) == qRgb(255, 255, 255); });
}

} // namespace

class MatchFlowEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oneMatchThenExit();
    void escapeDuringARoundEndsTheGameWithinASecond();
    void closingTheSetupWindowAtStartUpEndsTheGame();
    void windowsOpenWhereTheyFirstOpened_data();
    void windowsOpenWhereTheyFirstOpened();
    void withoutAWindowManagerAWaitingRoundSaysSo();

private:
    VirtualDisplay display;
};

void MatchFlowEndToEnd::initTestCase()
{
    QString error;
    QVERIFY2(display.Start(&error), qPrintable(error));
}

// One round, three players: the winner window comes up over the game window,
// closing it brings back the setup window as the players left it, and Exit
// ends the game.
void MatchFlowEndToEnd::oneMatchThenExit()
{
    QProcess game;
    QVERIFY2(display.Launch(game, QStringLiteral(KLIKVAR_BINARY)), qPrintable(game.errorString()));
    const auto setup = display.ActivateWindow(Program::SetupTitle);
    QVERIFY2(setup, "the setup window never showed");
    QVERIFY2(display.VisibleWindows(Program::GameTitle).isEmpty(), "the game window showed before Start");
    const QImage designed = display.Screenshot(*setup, Program::ShotPath(QStringLiteral("setup-window.png")));
    QCOMPARE(designed.size(), QSize(326, 392));

    QVERIFY(display.Click(*setup, Program::Rounds));
    QVERIFY(display.Keys({QStringLiteral("ctrl+a")}));
    QVERIFY(display.Type(QStringLiteral("1")));
    QVERIFY(display.Click(*setup, Program::PlayerTakesPart(3)));
    QThread::msleep(200);
    const QImage entered = display.Screenshot(*setup, Program::ShotPath(QStringLiteral("setup-entered.png")));
    QVERIFY(entered != designed);

    QVERIFY(display.Click(*setup, Program::Start));
    const auto playing = display.FindWindow(Program::GameTitle, QSize(594, 456), 10000);
    QVERIFY2(playing, "Start did not show the game window");
    QThread::msleep(500);
    const QImage field = display.Screenshot(*playing, Program::ShotPath(QStringLiteral("game-round.png")));
    QVERIFY2(CountPixels(field, PlayerColours[2]) > 0, "player 3 draws no trail");

    const auto winners = display.FindWindow(Program::GameTitle, QSize(417, 290), 60000);
    QVERIFY2(winners, "no winner window after one round");
    QThread::msleep(300);
    const QImage shown = display.Screenshot(*winners, Program::ShotPath(QStringLiteral("winner-window.png")));
    QCOMPARE(shown.size(), QSize(417, 290));
    // The frame takes the first winner's colour, and the row shows a name.
    const QRgb frame = shown.pixel(8, 8);
    QVERIFY2(PlayerColours.contains(frame), qPrintable(QString::number(frame, 16)));
    QCOMPARE(shown.pixel(408, 280), frame);
    QVERIFY(CountPixels(shown.copy(88, 88, 233, 25), frame) > 10);

    QVERIFY(display.Run(QStringLiteral("xdotool"),
                        {QStringLiteral("windowactivate"), QStringLiteral("--sync"), *winners}));
    QVERIFY(display.Keys({QStringLiteral("alt+F4")}));
    const auto again = display.FindWindow(Program::SetupTitle);
    QVERIFY2(again, "the setup window did not come back");
    QVERIFY2(display.VisibleWindows(Program::GameTitle).isEmpty(),
             "the game or the winner window stayed on screen");
    QThread::msleep(300);
    // Same entries; only the highlight of Start, pressed last, tells them apart.
    const QImage kept = display.Screenshot(*again, Program::ShotPath(QStringLiteral("setup-again.png")));
    const QRect startAndExit(144, 320, 177, 65);
    for (int y = 0; y < kept.height(); ++y)
        for (int x = 0; x < kept.width(); ++x)
            if (!startAndExit.contains(x, y) && kept.pixel(x, y) != entered.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("the setup window changed at %1, %2").arg(x).arg(y)));

    QVERIFY(display.Click(*again, Program::Exit));
    QVERIFY2(game.waitForFinished(5000), "Exit did not end the game");
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
}

void MatchFlowEndToEnd::escapeDuringARoundEndsTheGameWithinASecond()
{
    QProcess game;
    QVERIFY2(display.Launch(game, QStringLiteral(KLIKVAR_BINARY)), qPrintable(game.errorString()));
    QVERIFY2(Program::StartMatch(display), "the game window never showed");
    QElapsedTimer sinceEscape;
    sinceEscape.start();
    QVERIFY(display.Keys({QStringLiteral("Escape")}));
    QVERIFY2(game.waitForFinished(1000), "the game was still running a second after Esc");
    qInfo("Esc to exit: %lld ms", sinceEscape.elapsed());
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
}

void MatchFlowEndToEnd::closingTheSetupWindowAtStartUpEndsTheGame()
{
    QProcess game;
    QVERIFY2(display.Launch(game, QStringLiteral(KLIKVAR_BINARY)), qPrintable(game.errorString()));
    QVERIFY2(display.ActivateWindow(Program::SetupTitle), "the setup window never showed");
    QVERIFY(display.Keys({QStringLiteral("alt+F4")}));
    QVERIFY2(game.waitForFinished(5000), "closing the setup window did not end the game");
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
}

void MatchFlowEndToEnd::windowsOpenWhereTheyFirstOpened_data()
{
    QTest::addColumn<VirtualDisplay::WindowManager>("manager");
    QTest::newRow("openbox") << VirtualDisplay::WindowManager::Openbox;
    // It keeps a hidden window at its frame's corner.
    QTest::newRow("mutter") << VirtualDisplay::WindowManager::Mutter;
}

// Three one-round matches: the setup and game windows open where they
// opened the first time, the winner window over the game window.
void MatchFlowEndToEnd::windowsOpenWhereTheyFirstOpened()
{
    QFETCH(VirtualDisplay::WindowManager, manager);
    VirtualDisplay desktop;
    QString error;
    QVERIFY2(desktop.Start(&error, {QSize(1280, 800), 96}, manager), qPrintable(error));
    QProcess game;
    QVERIFY2(desktop.Launch(game, QStringLiteral(KLIKVAR_BINARY)), qPrintable(game.errorString()));
    std::optional<QRect> firstSetup, firstGame;
    for (int match = 1; match <= 3; ++match) {
        const auto setup = desktop.ActivateWindow(Program::SetupTitle);
        QVERIFY2(setup, "the setup window never showed");
        const auto setupArea = desktop.ClientArea(*setup);
        QVERIFY(setupArea);
        QCOMPARE(*setupArea, firstSetup.value_or(*setupArea));
        if (!firstSetup) {
            firstSetup = setupArea;
            QVERIFY(desktop.Click(*setup, Program::Rounds));
            QVERIFY(desktop.Keys({QStringLiteral("ctrl+a")}));
            QVERIFY(desktop.Type(QStringLiteral("1")));
        }
        QVERIFY(desktop.Click(*setup, Program::Start));
        const auto playing = desktop.FindWindow(Program::GameTitle, QSize(594, 456), 10000);
        QVERIFY2(playing, "Start did not show the game window");
        const auto gameArea = desktop.ClientArea(*playing);
        QVERIFY(gameArea);
        QCOMPARE(*gameArea, firstGame.value_or(*gameArea));
        firstGame = gameArea;

        const auto winners = desktop.FindWindow(Program::GameTitle, QSize(417, 290), 60000);
        QVERIFY2(winners, "no winner window after one round");
        const auto winnerArea = desktop.ClientArea(*winners);
        QVERIFY(winnerArea);
        // An odd size has no whole-pixel middle.
        const QPoint offCentre = winnerArea->center() - gameArea->center();
        QVERIFY2(offCentre.manhattanLength() <= 1,
                 qPrintable(QStringLiteral("match %1: the winner window is off the game window's "
                                           "middle by %2, %3").arg(match).arg(offCentre.x()).arg(offCentre.y())));
        QVERIFY(desktop.Run(QStringLiteral("xdotool"),
                            {QStringLiteral("windowactivate"), QStringLiteral("--sync"), *winners}));
        QVERIFY(desktop.Keys({QStringLiteral("alt+F4")}));
    }
    const auto setup = desktop.ActivateWindow(Program::SetupTitle);
    QVERIFY2(setup, "the setup window did not come back");
    QCOMPARE(desktop.ClientArea(*setup), firstSetup);
    QVERIFY(desktop.Click(*setup, Program::Exit));
    QVERIFY2(game.waitForFinished(5000), "Exit did not end the game");
}

// Nobody gives the game window the keyboard: it takes it at Start. Taken
// away, the round waits with a sign over the playfield until a click on the
// window.
void MatchFlowEndToEnd::withoutAWindowManagerAWaitingRoundSaysSo()
{
    VirtualDisplay bare;
    QString error;
    QVERIFY2(bare.Start(&error, VirtualDisplay::Screen{}, VirtualDisplay::WindowManager::None),
             qPrintable(error));
    QProcess game;
    QVERIFY2(bare.Launch(game, QStringLiteral(KLIKVAR_BINARY)), qPrintable(game.errorString()));
    const auto setup = bare.FindWindow(Program::SetupTitle);
    QVERIFY2(setup, "the setup window never showed");
    QVERIFY(bare.Click(*setup, Program::Start));
    const auto playing = bare.FindWindow(Program::GameTitle, QSize(594, 456), 10000);
    QVERIFY2(playing, "Start did not show the game window");
    const auto focus = [&bare] {
        return bare.Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")}).value_or(QString()).trimmed();
    };
    QTRY_COMPARE_WITH_TIMEOUT(focus(), *playing, 5000);

    const auto root = bare.Run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--maxdepth"),
                                                           QStringLiteral("0"), QStringLiteral("")});
    QVERIFY(root);
    QVERIFY(bare.Run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), root->trimmed()}));
    const QRect sign(112, 184, 209, 25);
    QThread::msleep(300);
    const QImage waiting = bare.Screenshot(*playing, Program::ShotPath(QStringLiteral("bare-waiting.png")));
    const QList<QPoint> signShown = WhitePixels(waiting.copy(sign));
    QVERIFY2(signShown.size() > 20, "no sign that the round waits");

    // The sign goes. On a slow machine the round may be over by the time
    // the screen is read, and the banner then stands in the same place, over
    // some of the sign's pixels but never all of them.
    QVERIFY(bare.Click(*playing, QPoint(20, 430)));
    QTRY_VERIFY_WITH_TIMEOUT(!StillWhite(bare.Screenshot(*playing, Program::ShotPath(QStringLiteral("bare-again.png")))
                                             .copy(sign),
                                         signShown),
                             5000);
    QVERIFY(bare.Keys({QStringLiteral("Escape")}));
    QVERIFY2(game.waitForFinished(5000), "Esc did not end the game");
}

QTEST_GUILESS_MAIN(MatchFlowEndToEnd)
#include "tst_match_flow_e2e.moc"
