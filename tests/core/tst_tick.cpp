#include "Fakes.h"

#include <QtTest>
#include <cmath>
#include <numbers>

namespace {

// Heads in separate lanes heading down slowly: nobody meets anything.
void PlaceInLanes(Arena& arena)
{
    for (int slot = 0; slot <= arena.match.LastPlayer; ++slot)
        arena.Place(slot, static_cast<float>(100 + 40 * slot), 150, 0, 0.7f);
}

// How far a point lies from the nearest piece of a path, and which piece.
std::pair<double, qsizetype> DistanceFromPath(QPointF point, const QList<QPointF>& path)
{
    std::pair<double, qsizetype> nearest{1e9, 0};
    for (qsizetype i = 1; i < path.size(); ++i) {
        const QPointF a = path[i - 1], along = path[i] - a;
        const double t = std::clamp(QPointF::dotProduct(point - a, along)
                                        / QPointF::dotProduct(along, along), 0.0, 1.0);
        const QPointF off = point - (a + t * along);
        nearest = std::min(nearest, {std::hypot(off.x(), off.y()), i});
    }
    return nearest;
}

} // namespace

class TickTest : public QObject
{
    Q_OBJECT

private slots:
    void drawsTheRandomNumbersInOrder_data();
    void drawsTheRandomNumbersInOrder();
    void pausedTickOnlyCounts();
    void creditColourRoundsHalvesToEven();
    void caveInLottery_data();
    void caveInLottery();
    void passThroughLottery_data();
    void passThroughLottery();
    void passThroughRidesOverTrailsButNotOffTheField();
    void lastPassThroughTickAlreadyKills();
    void dyingHeadDrawsItsLastSegmentUnderTheFrame();
    void caveInGapInTheFrameClosesNextTick();
    void turningChangesTheHeadingByATwentiethOfARadian();
    void straightHeadsNeverMeetTheirOwnTrail();
    void curlingHeadsLeaveAnUnbrokenBand_data();
    void curlingHeadsLeaveAnUnbrokenBand();
    void longSessionLeavesOnlyGameColours();
};

void TickTest::drawsTheRandomNumbersInOrder_data()
{
    QTest::addColumn<int>("lastPlayer");
    QTest::addColumn<int>("deadSlot");
    QTest::addColumn<int>("tickCountBefore");
    QTest::addColumn<bool>("optionsOn");
    QTest::addColumn<int>("draws");
    QTest::addColumn<bool>("recoloured");
    // One per living player for pass-through, one for the cave-in, two on
    // every tenth tick for the credit colour; options change nothing unless
    // a draw wins.
    QTest::newRow("two alive") << 1 << -1 << 0 << false << 3 << false;
    QTest::newRow("two alive, options on") << 1 << -1 << 0 << true << 3 << false;
    QTest::newRow("two alive, tenth tick") << 1 << -1 << 9 << false << 5 << true;
    QTest::newRow("two alive, count wraps to 0") << 1 << -1 << 19 << false << 5 << true;
    QTest::newRow("six alive") << 5 << -1 << 4 << false << 7 << false;
    QTest::newRow("one of three dead") << 2 << 1 << 4 << false << 3 << false;
}

void TickTest::drawsTheRandomNumbersInOrder()
{
    QFETCH(int, lastPlayer);
    QFETCH(int, deadSlot);
    QFETCH(int, tickCountBefore);
    QFETCH(bool, optionsOn);
    QFETCH(int, draws);
    QFETCH(bool, recoloured);
    Arena arena(lastPlayer);
    PlaceInLanes(arena);
    if (deadSlot >= 0)
        arena.match.Players[deadSlot].Dead = true;
    arena.screens.passThrough = arena.screens.caveIns = optionsOn;
    arena.game.TickCount = std::int16_t(tickCountBefore);

    arena.game.Tick();
    QCOMPARE(arena.random.draws, draws);
    QCOMPARE(arena.screens.creditColors.size(), recoloured ? 1 : 0);
}

void TickTest::pausedTickOnlyCounts()
{
    Arena arena(1);
    PlaceInLanes(arena);
    arena.game.Paused = true;
    for (int tick = 1; tick <= 45; ++tick) {
        arena.game.Tick();
        QCOMPARE(arena.game.TickCount, std::int16_t(tick % 20));
    }
    QCOMPARE(arena.random.draws, 0);
    QVERIFY(arena.screens.creditColors.isEmpty());
    QCOMPARE(arena.match.Players[0].Y, 150.0f);
    QCOMPARE(arena.At(100, 150), Black);
    QCOMPARE(arena.At(0, 200), Black); // not even the frame
}

void TickTest::creditColourRoundsHalvesToEven()
{
    Arena arena(1);
    PlaceInLanes(arena);
    arena.game.TickCount = 9;
    // two pass-through draws, the cave-in draw, then red and green
    arena.random.script = {0.1, 0.1, 0.1, 0.5, 0.3};
    arena.game.Tick();
    // 127.5 rounds to 128, 76.5 to 76
    QCOMPARE(arena.screens.creditColors, QList<ColorRef>{MakeColorRef(128, 76, 0)});
    QVERIFY(!arena.random.ranOut);

    for (int tick = 0; tick < 19; ++tick)
        arena.game.Tick();
    QCOMPARE(arena.game.TickCount, std::int16_t(9));
    QCOMPARE(arena.screens.creditColors.size(), 2); // at 10 and at 0
}

void TickTest::caveInLottery_data()
{
    QTest::addColumn<bool>("optionOn");
    QTest::addColumn<QList<double>>("draws");
    QTest::addColumn<int>("caveX");
    QTest::addColumn<int>("caveY");
    // The square is punched only on a win with the option on; halves round
    // to even (112.5 -> 112, 337.5 -> 338).
    QTest::newRow("win") << true << QList<double>{0.996, 0.25, 0.75} << 112 << 338;
    QTest::newRow("win, option off") << false << QList<double>{0.996} << 0 << 0;
    QTest::newRow("exactly the threshold") << true << QList<double>{0.995} << 0 << 0;
    QTest::newRow("in the far corner") << true << QList<double>{0.999, 0.99, 0.9999} << 446 << 450;
}

void TickTest::caveInLottery()
{
    QFETCH(bool, optionOn);
    QFETCH(QList<double>, draws);
    QFETCH(int, caveX);
    QFETCH(int, caveY);
    Arena arena(1);
    arena.match.Players[0].Dead = arena.match.Players[1].Dead = true;
    arena.screens.caveIns = optionOn;
    arena.game.Field().FillBox(90, 300, 460, 460, PlayerColors[2]);
    arena.random.script = draws;

    arena.game.Tick();
    QCOMPARE(arena.random.draws, draws.size());
    QCOMPARE(arena.game.CaveX, std::int16_t(caveX));
    QCOMPARE(arena.game.CaveY, std::int16_t(caveY));
    const bool punched = caveX != 0;
    if (punched) {
        // Black from one pixel before the corner to 20 pixels after it,
        // as far as the field reaches.
        QCOMPARE(arena.At(caveX - 1, std::min(caveY - 1, 449)), Black);
        QCOMPARE(arena.At(std::min(caveX + 20, 449), std::min(caveY + 20, 449)), Black);
        QCOMPARE(arena.At(caveX - 2, std::min(caveY, 449)), PlayerColors[2]);
    } else {
        QCOMPARE(arena.At(120, 345), PlayerColors[2]);
    }
}

void TickTest::passThroughLottery_data()
{
    QTest::addColumn<bool>("optionOn");
    QTest::addColumn<QList<double>>("draws");
    QTest::addColumn<int>("passTicks");
    QTest::newRow("win") << true << QList<double>{0.999, 0.25} << 500;
    QTest::newRow("win, option off") << false << QList<double>{0.999} << 0;
    QTest::newRow("exactly the threshold") << true << QList<double>{0.998} << 0;
    QTest::newRow("win of zero ticks") << true << QList<double>{0.999, 0.00025} << 0;
    QTest::newRow("win of a half rounds to even") << true << QList<double>{0.999, 0.00075} << 2;
    QTest::newRow("longest") << true << QList<double>{0.999, 0.9999999} << 2000;
}

void TickTest::passThroughLottery()
{
    QFETCH(bool, optionOn);
    QFETCH(QList<double>, draws);
    QFETCH(int, passTicks);
    Arena arena(1);
    PlaceInLanes(arena);
    arena.screens.passThrough = optionOn;
    arena.random.script = draws;

    arena.game.Tick();
    const PlayerRecord& p = arena.match.Players[0];
    QCOMPARE(p.PassTicks, std::int16_t(passTicks));
    // The segment of the winning tick is already white.
    QCOMPARE(arena.At(100, 150), passTicks > 0 ? White : PlayerColors[0]);
    QCOMPARE(arena.random.draws, draws.size() + 2); // slot 1 and the cave-in
}

void TickTest::passThroughRidesOverTrailsButNotOffTheField()
{
    Arena arena(2);
    PlaceInLanes(arena);
    arena.game.Field().FillBox(430, 190, 440, 210, PlayerColors[1]);
    PlayerRecord& rider = arena.Place(0, 420, 200, 1.1f, 0);
    rider.PassTicks = 100;

    int ticks = 0;
    while (!rider.Dead && ticks < 100) {
        arena.game.Tick();
        ++ticks;
        if (rider.X <= 450)
            QVERIFY2(!rider.Dead, qPrintable(QStringLiteral("died at x %1").arg(rider.X)));
    }
    QVERIFY(rider.Dead);
    QVERIFY(rider.X > 450);
    QCOMPARE(arena.At(435, 200), White); // rode across red, drawing white
    QVERIFY(arena.screens.scores.isEmpty());
}

void TickTest::lastPassThroughTickAlreadyKills()
{
    Arena arena(2);
    PlaceInLanes(arena);
    arena.game.Field().FillBox(200, 300, 220, 320, PlayerColors[2]);
    PlayerRecord& rider = arena.Place(0, 210, 296.6f, 0, 1.9f); // ahead: 299.5 -> 300
    rider.PassTicks = 1; // falls to 0 in this tick

    arena.game.Tick();
    QVERIFY(rider.Dead);
    QCOMPARE(arena.match.Players[2].Score, std::int16_t(1));
    QCOMPARE(arena.At(210, 297), PlayerColors[0]); // drawn in colour again
}

void TickTest::dyingHeadDrawsItsLastSegmentUnderTheFrame()
{
    Arena arena(2);
    PlaceInLanes(arena);
    PlayerRecord& p = arena.Place(0, 445.5f, 300, 1, 0);

    arena.game.Tick(); // to 446.5: ahead is 447.5 -> 448, the frame
    QVERIFY(!p.Dead);
    arena.game.Tick(); // to 447.5: the frame kills
    QVERIFY(p.Dead);
    QVERIFY(p.X <= 450); // killed by the colour, not by the limits
    QCOMPARE(arena.At(446, 300), PlayerColors[0]); // the last segment is laid
    QCOMPARE(arena.At(447, 300), White);             // and the frame covers it again

    arena.game.Tick(); // dead: not moved again
    QCOMPARE(p.X, 447.5f);
    QVERIFY(arena.screens.scores.isEmpty());
}

void TickTest::caveInGapInTheFrameClosesNextTick()
{
    Arena arena(1);
    PlaceInLanes(arena);
    arena.game.Tick();
    QCOMPARE(arena.At(0, 110), White);
    arena.game.Field().FillBox(0, 100, 20, 120, Black);
    QCOMPARE(arena.At(0, 110), Black);
    arena.game.Tick();
    QCOMPARE(arena.At(0, 110), White);
}

void TickTest::turningChangesTheHeadingByATwentiethOfARadian()
{
    Arena arena(1);
    PlaceInLanes(arena);
    PlayerRecord& p = arena.match.Players[0];
    p.Angle = 0;
    p.Speed = 1;
    p.TurnLeft = true;
    arena.game.Tick();
    QCOMPARE(p.Angle, 0.05f);
    QCOMPARE(p.DX, float(std::sin(double(0.05f))));
    QCOMPARE(p.X, float(100 + double(p.DX))); // moved along the new heading

    p.TurnRight = true; // both held: no change
    arena.game.Tick();
    QCOMPARE(p.Angle, 0.05f);
    p.TurnLeft = false;
    arena.game.Tick();
    QVERIFY(std::abs(p.Angle) < 1e-8f);
}

void TickTest::straightHeadsNeverMeetTheirOwnTrail()
{
    // One head alone, going straight in every direction at speeds across
    // the whole range: it must end on the frame or beyond the field, never on
    // its own trail. Only the trail just behind a head can be ahead of it, so
    // each starts on the line from the centre, 40 pixels short of the frame.
    Arena arena(1);
    PlayerRecord& head = arena.match.Players[0];
    arena.match.Players[1].Dead = true;
    for (int step = 0; step < 101; ++step) {
        const double angle = step * 2 * std::numbers::pi / 101;
        const double across = std::sin(angle), down = std::cos(angle);
        // How far from the centre the line meets the frame's inner edge.
        const double toFrame = std::min(222 / std::max(std::abs(across), 1e-9), 222 / std::max(std::abs(down), 1e-9));
        const float x = float(225 + (toFrame - 40) * across), y = float(225 + (toFrame - 40) * down);
        for (double speed = 0.6; speed < 1.2; speed += 0.11) {
            for (float offset : {0.f, 0.5f, 0.77f}) {
                arena.game.Field().ClearPlayfield();
                arena.Place(0, x + offset, y - offset, 0, 0);
                head.Angle = float(angle);
                head.Speed = float(speed);
                head.DX = float(std::sin(double(head.Angle)) * head.Speed);
                head.DY = float(std::cos(double(head.Angle)) * head.Speed);
                for (int tick = 0; tick < 1000 && !head.Dead; ++tick)
                    arena.game.Tick();
                const bool onTheEdge = head.X < 3 || head.Y < 3 || head.X > 445 || head.Y > 445;
                QVERIFY2(head.Dead && onTheEdge && head.Score == 0,
                         qPrintable(QStringLiteral("angle %1 speed %2: died at (%3, %4) on %5")
                                        .arg(angle).arg(speed).arg(head.X).arg(head.Y)
                                        .arg(arena.game.HitColor, 0, 16)));
            }
        }
    }
}

void TickTest::curlingHeadsLeaveAnUnbrokenBand_data()
{
    QTest::addColumn<float>("speed");
    QTest::addColumn<bool>("left");
    QTest::newRow("slowest, left") << 0.6f << true;
    QTest::newRow("slow, right") << 0.87f << false;
    QTest::newRow("fast, left") << 1.19f << true;
    QTest::newRow("fast, right") << 1.19f << false;
}

void TickTest::curlingHeadsLeaveAnUnbrokenBand()
{
    // A head held turning goes almost all the way round without meeting its
    // own trail, and every pixel well inside the 2-pixel band along its path
    // has its colour: no notch on the outer side of a bend for a crossing
    // head to slip through. Each bend is checked where it is: the pixels
    // around each joint, against the two segments that meet there.
    QFETCH(float, speed);
    QFETCH(bool, left);
    Arena arena(1);
    PlayerRecord& head = arena.match.Players[0];
    arena.match.Players[1].Dead = true;
    const int almostRound = int(2 * std::numbers::pi / 0.05) - 6;
    for (int step = 0; step < 12; ++step) {
        arena.game.Field().ClearPlayfield();
        arena.Place(0, 225.3f, 224.6f, 0, 0);
        head.Angle = float(step * 0.53);
        head.Speed = speed;
        AimHeading(head);
        head.TurnLeft = left;
        head.TurnRight = !left;
        QList<QPointF> path{{head.X, head.Y}};
        for (int tick = 0; tick < almostRound; ++tick) {
            arena.game.Tick();
            QVERIFY2(!head.Dead, qPrintable(QStringLiteral("died after %1 ticks").arg(tick)));
            path << QPointF(head.X, head.Y);
        }
        int inside = 0;
        // The ends of the trail are no bend.
        for (qsizetype joint = 3; joint + 3 < path.size(); ++joint) {
            const QList<QPointF> bend = path.mid(joint - 1, 3);
            const QPoint centre = bend[1].toPoint();
            for (int y = centre.y() - 3; y <= centre.y() + 3; ++y) {
                for (int x = centre.x() - 3; x <= centre.x() + 3; ++x) {
                    if (DistanceFromPath(QPointF(x + 0.5, y + 0.5), bend).first > 0.9)
                        continue;
                    ++inside;
                    QVERIFY2(arena.At(x, y) == PlayerColors[0],
                             qPrintable(QStringLiteral("heading %1: notch at (%2, %3)")
                                            .arg(step * 0.53).arg(x).arg(y)));
                }
            }
        }
        QVERIFY2(inside > 100, qPrintable(QString::number(inside)));
    }
}

void TickTest::longSessionLeavesOnlyGameColours()
{
    BusyMatch busy(7);
    Module1& match = busy.match;
    Game& game = busy.game;

    int rounds = 0;
    for (int tick = 0; tick < 40000; ++tick) {
        // Some heads curl, so trails cross at every angle.
        match.Players[tick / 300 % 6].TurnLeft = tick % 700 < 350;
        game.Tick();
        if (game.StartNextRound())
            ++rounds;
    }
    QVERIFY(rounds > 10);
    QVERIFY(game.CaveX != 0 || game.CaveY != 0);

    QSet<ColorRef> allowed(PlayerColors.begin(), PlayerColors.end());
    allowed << Black << White;
    QSet<ColorRef> seen;
    for (int y = 0; y < Playfield::Size; ++y)
        for (int x = 0; x < Playfield::Size; ++x)
            seen.insert(game.Field().ReadPixel(x, y));
    QVERIFY(seen.contains(White));
    QVERIFY(seen.size() > 3);
    QVERIFY2(allowed.contains(seen), "a colour the game never draws");
}

QTEST_GUILESS_MAIN(TickTest)
#include "tst_tick.moc"
