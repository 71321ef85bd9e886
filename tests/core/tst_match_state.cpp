#include "Fakes.h"

#include <QtTest>
#include <cmath>

class MatchStateTest : public QObject
{
    Q_OBJECT

private slots:
    void startRoundTakesFourDrawsPerSlotInOrder();
    void startRoundTouchesOnlyActiveSlots_data();
    void startRoundTouchesOnlyActiveSlots();
    void startRoundResetsRoundStateButKeepsMatchState();
    void startRoundStaysInsideTheMiddleSquare_data();
    void startRoundStaysInsideTheMiddleSquare();
};

void MatchStateTest::startRoundTakesFourDrawsPerSlotInOrder()
{
    Module1 match;
    match.LastPlayer = 1;
    ScriptedRandom random;
    // slot 0: x, y, angle, speed; then slot 1
    random.script = {0.2, 0.4, 0.0, 0.0, 0.6, 0.8, 0.0, 0.5};
    match.StartRound(random);

    QCOMPARE(random.draws, 8);
    QVERIFY(!random.ranOut);
    const PlayerRecord& first = match.Players[0];
    const PlayerRecord& second = match.Players[1];
    QCOMPARE(first.X, 157.0f);
    QCOMPARE(first.Y, 202.0f);
    QCOMPARE(first.Angle, 0.0f);
    QCOMPARE(first.Speed, 0.6f);
    QCOMPARE(first.DX, 0.0f); // heading 0 is straight down
    QCOMPARE(first.DY, 0.6f);
    QCOMPARE(second.X, 247.0f);
    QCOMPARE(second.Y, 292.0f);
    QCOMPARE(second.Speed, 0.9f);
    QCOMPARE(second.DY, 0.9f);

    // An angle of 1.5 (r3 = 0.15) points right and slightly down.
    random.script = {0.5, 0.5, 0.15, 0.5, 0.5, 0.5, 0.5, 0.5};
    match.StartRound(random);
    QCOMPARE(first.X, 224.5f);
    QVERIFY(first.Angle == float(0.15 * 10));
    QVERIFY(first.DX == float(std::sin(double(first.Angle)) * 0.9f));
    QVERIFY(first.DX > 0.89f && first.DY > 0.06f && first.DY < 0.07f);
}

void MatchStateTest::startRoundTouchesOnlyActiveSlots_data()
{
    QTest::addColumn<int>("lastPlayer");
    QTest::newRow("two players") << 1;
    QTest::newRow("four players") << 3;
    QTest::newRow("six players") << 5;
}

void MatchStateTest::startRoundTouchesOnlyActiveSlots()
{
    QFETCH(int, lastPlayer);
    Module1 match;
    match.LastPlayer = std::int16_t(lastPlayer);
    for (PlayerRecord& p : match.Players) {
        p.X = -7;
        p.Dead = true;
        p.TurnLeft = true;
    }
    ScriptedRandom random;
    match.StartRound(random);

    QCOMPARE(random.draws, 4 * (lastPlayer + 1));
    for (int slot = 0; slot < 6; ++slot) {
        const bool active = slot <= lastPlayer;
        QCOMPARE(match.Players[slot].X != -7.0f, active);
        QCOMPARE(match.Players[slot].Dead, !active);
        QCOMPARE(match.Players[slot].TurnLeft, !active);
    }
}

void MatchStateTest::startRoundResetsRoundStateButKeepsMatchState()
{
    Module1 match;
    match.LastPlayer = 1;
    match.AssignPlayerColors();
    PlayerRecord& p = match.Players[1];
    p.Dead = true;
    p.PassTicks = 40;
    p.TurnLeft = true;
    p.TurnRight = true;
    p.Score = -3;
    p.OldX = 11;
    p.OldY = 12;
    ScriptedRandom random;
    match.StartRound(random);

    QVERIFY(!p.Dead);
    QCOMPARE(p.PassTicks, std::int16_t(0));
    QVERIFY(!p.TurnLeft);
    QVERIFY(!p.TurnRight);
    QCOMPARE(p.Score, std::int16_t(-3));
    QCOMPARE(p.Color, PlayerColors[1]);
    QCOMPARE(p.OldX, 11.0f);
    QCOMPARE(p.OldY, 12.0f);
}

void MatchStateTest::startRoundStaysInsideTheMiddleSquare_data()
{
    QTest::addColumn<double>("r");
    QTest::newRow("lowest draw") << 0.0;
    QTest::newRow("middle draw") << 0.5;
    QTest::newRow("just below one") << 0.999999;
}

void MatchStateTest::startRoundStaysInsideTheMiddleSquare()
{
    QFETCH(double, r);
    Module1 match;
    match.LastPlayer = 5;
    ScriptedRandom random(r);
    match.StartRound(random);
    for (const PlayerRecord& p : match.Players) {
        QVERIFY(p.X >= 112 && p.X < 337);
        QVERIFY(p.Y >= 112 && p.Y < 337);
        QVERIFY(p.Speed >= 0.6f && p.Speed < 1.2f);
        QVERIFY(p.Angle >= 0 && p.Angle < 10);
        // The step is the speed along the heading.
        QVERIFY(std::abs(std::hypot(double(p.DX), double(p.DY)) - p.Speed) < 1e-6);
    }
}

QTEST_GUILESS_MAIN(MatchStateTest)
#include "tst_match_state.moc"
