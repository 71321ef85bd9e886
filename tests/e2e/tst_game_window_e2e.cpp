#include "Program.h"
#include "ShownColours.h"
#include "VirtualDisplay.h"

#include <QDir>
#include <QThread>
#include <QtTest>

#include <cmath>

namespace {

using Shown::Green;
using Shown::Red;

// How far the pixels of one colour on the playfield stray from the straight
// line that fits them best: about a pixel for a straight trail.
struct Trail
{
    int pixels = 0;
    double bend = 0;
};

Trail Measure(const QImage& shot, QRgb color)
{
    QList<QPointF> points;
    for (int y = 0; y < 450; ++y)
        for (int x = 0; x < 450; ++x)
            if (shot.pixel(x, y) == color)
                points << QPointF(x, y);
    if (points.size() < 2)
        return {int(points.size()), 0};

    QPointF mean;
    for (const QPointF& p : points)
        mean += p;
    mean /= double(points.size());
    double xx = 0, xy = 0, yy = 0;
    for (const QPointF& p : points) {
        const QPointF d = p - mean;
        xx += d.x() * d.x();
        xy += d.x() * d.y();
        yy += d.y() * d.y();
    }
    // Direction of the principal axis, then the largest distance from it.
    const double angle = 0.5 * std::atan2(2 * xy, xx - yy);
    const double nx = -std::sin(angle), ny = std::cos(angle);
    double bend = 0;
    for (const QPointF& p : points)
        bend = std::max(bend, std::abs((p.x() - mean.x()) * nx + (p.y() - mean.y()) * ny));
    return {int(points.size()), bend};
}

} // namespace

class GameWindowEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void heldKeyCurlsTheTrailAndEscapeEndsTheGame_data();
    void heldKeyCurlsTheTrailAndEscapeEndsTheGame();
    void cleanup();
    void closingTheWindowEndsTheGame();

private:
    VirtualDisplay display;
};

void GameWindowEndToEnd::initTestCase()
{
    QString error;
    QVERIFY2(display.Start(&error), qPrintable(error));
}

void GameWindowEndToEnd::cleanup()
{
    display.Run(QStringLiteral("setxkbmap"), {QStringLiteral("us")});
}

void GameWindowEndToEnd::heldKeyCurlsTheTrailAndEscapeEndsTheGame_data()
{
    // The key is named as the layout names it, so xdotool presses the
    // physical key that carries it.
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QRgb>("curling");
    QTest::addColumn<QRgb>("straight");
    QTest::newRow("US, player 1's left arrow") << "us" << "Left" << Green << Red;
    QTest::newRow("Russian, the key at Q's place") << "ru" << "Cyrillic_shorti" << Red << Green;
    QTest::newRow("French, the key labelled Q") << "fr" << "q" << Red << Green;
}

// One player holds a turn key and curls; the other touches nothing and runs
// straight. The heads start at random, so a start where the curling player
// dies at once says nothing and is played again.
void GameWindowEndToEnd::heldKeyCurlsTheTrailAndEscapeEndsTheGame()
{
    QFETCH(QString, layout);
    QFETCH(QString, key);
    QFETCH(QRgb, curling);
    QFETCH(QRgb, straight);
    QVERIFY(display.Run(QStringLiteral("setxkbmap"), {layout}));
    for (int attempt = 1; attempt <= 4; ++attempt) {
        QProcess game;
        QVERIFY2(display.Launch(game, QStringLiteral(KLIKVAR_BINARY)), qPrintable(game.errorString()));
        const auto window = Program::StartMatch(display);
        QVERIFY2(window, "the game window never showed");
        QVERIFY(display.Run(QStringLiteral("xdotool"), {"keydown", key}));
        QThread::msleep(700);
        QVERIFY(display.Run(QStringLiteral("xdotool"), {"keyup", key}));
        QThread::msleep(150);

        const QImage shot = display.Screenshot(*window, Program::ShotPath(QStringLiteral("game-window.png")));
        QCOMPARE(shot.size(), QSize(594, 456));
        const Trail curled = Measure(shot, curling);
        const Trail unsteered = Measure(shot, straight);

        QVERIFY(display.Run(QStringLiteral("xdotool"), {"key", "Escape"}));
        QVERIFY2(game.waitForFinished(5000), "Esc did not end the game");
        QCOMPARE(game.exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.exitCode(), 0);

        qInfo("held: %d pixels, bend %.1f; free: %d pixels, bend %.1f", curled.pixels,
              curled.bend, unsteered.pixels, unsteered.bend);
        if (unsteered.pixels >= 30)
            QVERIFY2(unsteered.bend < 2.5, qPrintable(QStringLiteral("no key, bend %1").arg(unsteered.bend)));
        // On a busy machine the key may go down late, and the round can end
        // before it has turned the head far; a key that does nothing leaves
        // a straight trail in every attempt.
        if (curled.pixels < 60 || curled.bend <= 4) {
            qInfo("attempt %d: the held player stopped after %d pixels, playing again", attempt, curled.pixels);
            continue;
        }
        return;
    }
    QFAIL("the held player never curled");
}

// The window manager's close (Alt+F4 in openbox) is the close box.
void GameWindowEndToEnd::closingTheWindowEndsTheGame()
{
    QProcess game;
    QVERIFY2(display.Launch(game, QStringLiteral(KLIKVAR_BINARY)), qPrintable(game.errorString()));
    QVERIFY2(Program::StartMatch(display), "the game window never showed");
    QVERIFY(display.Run(QStringLiteral("xdotool"), {"key", "alt+F4"}));
    QVERIFY2(game.waitForFinished(5000), "closing the window did not end the game");
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
}

QTEST_GUILESS_MAIN(GameWindowEndToEnd)
#include "tst_game_window_e2e.moc"
