#include "Fakes.h"
#include "Rules.h"

#include <QtTest>

namespace {

// Parks a head in the middle, heading slowly down, far from everything.
void Park(Arena& arena, int slot)
{
    arena.Place(slot, static_cast<float>(60 + 50 * slot), 60, 0, 0.7f);
}

} // namespace

class RulesTest : public QObject
{
    Q_OBJECT

private slots:
    void scoreText_data();
    void scoreText();
    void deathRule_data();
    void deathRule();
    void creditHit_data();
    void creditHit();
    void lastSurvivorBonus_data();
    void lastSurvivorBonus();
    void lowerSlotsFreshSegmentKillsHigherSlotAtOnce();
    void higherSlotsSegmentKillsLowerSlotOneTickLater();
    void lastTwoDyingTogetherGiveTheBonusToTheHigherSlot();
    void roundEndDoesNotStopTheLaterSlots();
    void bannersThenMatchEnd();
    void numberOfRoundsPlayed_data();
    void numberOfRoundsPlayed();
    void numberOfRoundsIsReadAtEveryRoundEnd();
    void spaceStartsTheNextRoundOnlyWhenPaused();
    void winnersHoldTheTopScore_data();
    void winnersHoldTheTopScore();
};

void RulesTest::scoreText_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "00";
    QTest::newRow("one digit") << 5 << "05";
    QTest::newRow("two digits") << 12 << "12";
    QTest::newRow("three digits") << 123 << "123";
    QTest::newRow("minus one") << -1 << "-01";
    QTest::newRow("minus twelve") << -12 << "-12";
    QTest::newRow("lowest") << -32768 << "-32768";
}

void RulesTest::scoreText()
{
    QFETCH(int, score);
    QFETCH(QString, text);
    QCOMPARE(ScoreText(std::int16_t(score)), text);
}

void RulesTest::deathRule_data()
{
    QTest::addColumn<ColorRef>("hit");
    QTest::addColumn<int>("passTicks");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<bool>("dies");
    QTest::newRow("black field") << Black << 0 << 225.f << 225.f << false;
    QTest::newRow("on the low limits") << Black << 0 << 0.f << 0.f << false;
    QTest::newRow("on the high limits") << Black << 0 << 450.f << 450.f << false;
    QTest::newRow("left of the field") << Black << 0 << -0.001f << 200.f << true;
    QTest::newRow("above the field") << Black << 0 << 200.f << -0.001f << true;
    QTest::newRow("right of the field") << Black << 0 << 450.01f << 200.f << true;
    QTest::newRow("below the field") << Black << 0 << 200.f << 450.01f << true;
    QTest::newRow("a trail") << PlayerColors[3] << 0 << 200.f << 200.f << true;
    QTest::newRow("the frame") << White << 0 << 200.f << 200.f << true;
    QTest::newRow("off the surface") << OffField << 0 << 200.f << 200.f << true;
    QTest::newRow("a trail in pass-through") << PlayerColors[3] << 5 << 200.f << 200.f << false;
    QTest::newRow("the frame in pass-through") << White << 1 << 449.f << 200.f << false;
    QTest::newRow("beyond the field in pass-through") << OffField << 5 << 451.f << 200.f << true;
}

void RulesTest::deathRule()
{
    QFETCH(ColorRef, hit);
    QFETCH(int, passTicks);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(bool, dies);
    PlayerRecord p;
    p.X = x;
    p.Y = y;
    p.PassTicks = std::int16_t(passTicks);
    QCOMPARE(Dies(p, hit), dies);
}

void RulesTest::creditHit_data()
{
    QTest::addColumn<ColorRef>("hit");
    QTest::addColumn<int>("victim");
    QTest::addColumn<int>("owner");
    QTest::addColumn<QString>("shown");
    QTest::newRow("own trail") << PlayerColors[2] << 2 << 2 << "-01";
    QTest::newRow("another's trail") << PlayerColors[4] << 1 << 4 << "01";
    QTest::newRow("the frame") << White << 1 << -1 << "";
    QTest::newRow("off the field") << OffField << 1 << -1 << "";
    QTest::newRow("an unknown colour") << ColorRef(0x123456) << 1 << -1 << "";
}

void RulesTest::creditHit()
{
    QFETCH(ColorRef, hit);
    QFETCH(int, victim);
    QFETCH(int, owner);
    QFETCH(QString, shown);
    Arena arena(5);
    CreditHit(arena.match, arena.screens, hit, std::int16_t(victim));
    for (int slot = 0; slot < 6; ++slot) {
        const int expected = slot != owner ? 0 : slot == victim ? -1 : 1;
        QCOMPARE(arena.match.Players[slot].Score, std::int16_t(expected));
    }
    if (owner < 0)
        QVERIFY(arena.screens.scores.isEmpty());
    else
        QCOMPARE(arena.screens.scores, (QMap<int, QString>{{owner, shown}}));
}

void RulesTest::lastSurvivorBonus_data()
{
    QTest::addColumn<int>("lastPlayer");
    QTest::addColumn<QList<int>>("alive");
    QTest::addColumn<int>("survivor");
    QTest::newRow("one of two") << 1 << QList<int>{1} << 1;
    QTest::newRow("one of six") << 5 << QList<int>{3} << 3;
    QTest::newRow("two alive") << 2 << QList<int>{0, 2} << -1;
    QTest::newRow("none alive") << 1 << QList<int>{} << -1;
    QTest::newRow("alive above the last player do not count") << 1 << QList<int>{0, 4, 5} << 0;
}

void RulesTest::lastSurvivorBonus()
{
    QFETCH(int, lastPlayer);
    QFETCH(QList<int>, alive);
    QFETCH(int, survivor);
    Arena arena(lastPlayer);
    for (int slot = 0; slot < 6; ++slot) {
        arena.match.Players[slot].Dead = !alive.contains(slot);
        arena.match.Players[slot].Score = 7;
    }
    QCOMPARE(CheckLastSurvivor(arena.match, arena.screens), survivor >= 0);
    for (int slot = 0; slot < 6; ++slot)
        QCOMPARE(arena.match.Players[slot].Score, std::int16_t(slot == survivor ? 9 : 7));
    if (survivor >= 0)
        QCOMPARE(arena.screens.scores, (QMap<int, QString>{{survivor, "09"}}));
}

void RulesTest::lowerSlotsFreshSegmentKillsHigherSlotAtOnce()
{
    Arena arena(2);
    Park(arena, 2);
    arena.Place(0, 100, 100, 1, 0);      // lays (100,100)-(101,100)
    arena.Place(1, 100, 102.2f, 0, -1);  // then looks at (100,100)
    arena.game.Tick();
    QVERIFY(!arena.match.Players[0].Dead);
    QVERIFY(arena.match.Players[1].Dead);
    QCOMPARE(arena.match.Players[0].Score, std::int16_t(1));
    QCOMPARE(arena.screens.scores.value(0), QStringLiteral("01"));
}

void RulesTest::higherSlotsSegmentKillsLowerSlotOneTickLater()
{
    // The same meeting with the slots swapped: the lower slot looks before
    // the higher one draws, so both live this tick.
    Arena arena(2);
    Park(arena, 2);
    arena.Place(0, 100, 102.2f, 0, -1);
    arena.Place(1, 100, 100, 1, 0);
    arena.game.Tick();
    QVERIFY(!arena.match.Players[0].Dead);
    QVERIFY(!arena.match.Players[1].Dead);
    arena.game.Tick(); // now slot 0 looks at (100, 99): red
    QVERIFY(arena.match.Players[0].Dead);
    QCOMPARE(arena.match.Players[1].Score, std::int16_t(1));
}

void RulesTest::lastTwoDyingTogetherGiveTheBonusToTheHigherSlot()
{
    Arena arena(1);
    arena.Place(0, -5, 200, -1, 0);             // beyond the left edge
    arena.Place(1, 150, 205.5f, 0, 1);          // into a green wall
    arena.game.Field().FillBox(140, 207, 160, 215, PlayerColors[0]);
    arena.game.Tick();
    QVERIFY(arena.match.Players[0].Dead);
    QVERIFY(arena.match.Players[1].Dead);
    // Slot 1 was the last survivor when slot 0 died and keeps the bonus;
    // its own death still credits green.
    QCOMPARE(arena.match.Players[1].Score, std::int16_t(2));
    QCOMPARE(arena.match.Players[0].Score, std::int16_t(1));
    QCOMPARE(arena.match.Level, std::int16_t(2)); // one round end, not two
    QCOMPARE(arena.screens.log.count(QStringLiteral("caption Level 2")), 1);
    QVERIFY(arena.game.Paused);
}

void RulesTest::roundEndDoesNotStopTheLaterSlots()
{
    // Slot 1's death leaves slot 2 alone: the round ends there, yet slot 2
    // still moves and draws, and the frame still follows.
    Arena arena(3);
    arena.Place(0, 451, 300, 1, 0);
    arena.Place(1, -5, 300, -1, 0);
    Park(arena, 2);
    arena.match.Players[3].Dead = true;
    arena.game.Tick();

    QVERIFY(arena.game.Paused);
    QVERIFY(arena.screens.bannerVisible);
    QCOMPARE(arena.screens.bannerCaption, QStringLiteral("Level 2"));
    QCOMPARE(arena.match.Players[2].Score, std::int16_t(2));
    QCOMPARE(arena.match.Players[2].Y, 60.7f);
    QCOMPARE(arena.At(160, 60), PlayerColors[2]);
    QCOMPARE(arena.At(0, 200), White);
    QCOMPARE(arena.random.draws, 3 + 1); // pass-through for the dying too, then the cave-in
}

namespace {

// Ends the current round at once: slot 1 is put beyond the field, so slot 0
// survives it.
void PlayOneRound(Arena& arena)
{
    arena.Place(0, 200, 200, 0, 0.7f);
    arena.Place(1, -5, 200, -1, 0);
    arena.game.Tick();
}

// Plays rounds until the winner window is asked for; returns how many.
int PlayMatch(Arena& arena)
{
    bool over = false;
    arena.screens.onShowWinners = [&] { over = true; };
    int rounds = 0;
    while (!over && rounds < 100) {
        PlayOneRound(arena);
        ++rounds;
        arena.game.StartNextRound();
    }
    return rounds;
}

} // namespace

void RulesTest::bannersThenMatchEnd()
{
    Arena arena(1);
    arena.screens.rounds = QStringLiteral("3");
    QCOMPARE(PlayMatch(arena), 3);
    const QStringList expected = {
        "score 0 02", "caption Level 2", "banner shown", "banner hidden",
        "score 0 04", "caption Level 3", "banner shown", "banner hidden",
        "score 0 06", "caption Level 4", "winners 0",
    };
    QCOMPARE(arena.screens.log, expected);
    QVERIFY(!arena.screens.bannerVisible);
    QVERIFY(!arena.game.Paused); // the next match starts without Space
}

void RulesTest::numberOfRoundsPlayed_data()
{
    QTest::addColumn<QString>("rounds");
    QTest::addColumn<int>("played");
    QTest::newRow("default") << "25" << 25;
    QTest::newRow("a fraction") << "2.5" << 2;
    QTest::newRow("zero") << "0" << 1;
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("letters") << "kola" << 1;
    QTest::newRow("number and word") << "3 abc" << 3;
    QTest::newRow("digits apart") << "1 0" << 10;
    QTest::newRow("negative") << "-4" << 1;
}

void RulesTest::numberOfRoundsPlayed()
{
    QFETCH(QString, rounds);
    QFETCH(int, played);
    Arena arena(1);
    arena.screens.rounds = rounds;
    QCOMPARE(PlayMatch(arena), played);
    QCOMPARE(arena.screens.winnersShown, 1);
}

void RulesTest::numberOfRoundsIsReadAtEveryRoundEnd()
{
    Arena arena(1);
    arena.screens.rounds = QStringLiteral("5");
    PlayOneRound(arena);
    arena.game.StartNextRound();
    arena.screens.rounds = QStringLiteral("2");
    PlayOneRound(arena);
    QCOMPARE(arena.screens.winnersShown, 1);
}

void RulesTest::spaceStartsTheNextRoundOnlyWhenPaused()
{
    Arena arena(1);
    arena.Place(0, 200, 200, 0, 0.7f);
    arena.Place(1, 300, 200, 0, 0.7f);
    arena.game.Tick();
    QVERIFY(!arena.game.StartNextRound()); // a round is running
    QCOMPARE(arena.At(200, 200), PlayerColors[0]);
    QCOMPARE(arena.random.draws, 3);

    PlayOneRound(arena);
    arena.match.Players[1].TurnLeft = true;
    QVERIFY(arena.game.StartNextRound());
    QVERIFY(!arena.game.Paused);
    QVERIFY(!arena.screens.bannerVisible);
    QCOMPARE(arena.At(200, 200), Black);          // the field is clear
    QCOMPARE(arena.At(0, 100), Black);            // frame included
    QVERIFY(!arena.match.Players[1].Dead);        // everyone placed anew
    QVERIFY(!arena.match.Players[1].TurnLeft);    // held keys act only when pressed again
}

void RulesTest::winnersHoldTheTopScore_data()
{
    QTest::addColumn<int>("lastPlayer");
    QTest::addColumn<QList<int>>("scores");
    QTest::addColumn<QList<std::int16_t>>("winners");
    QTest::newRow("one winner") << 3 << QList<int>{4, 9, 2, 8} << QList<std::int16_t>{1};
    QTest::newRow("slots 1 and 3 tied") << 3 << QList<int>{4, 9, 2, 9} << QList<std::int16_t>{1, 3};
    QTest::newRow("all six tied") << 5 << QList<int>{6, 6, 6, 6, 6, 6}
                                  << QList<std::int16_t>{0, 1, 2, 3, 4, 5};
    QTest::newRow("all below zero") << 2 << QList<int>{-3, -1, -3} << QList<std::int16_t>{1};
    QTest::newRow("nobody scored") << 1 << QList<int>{0, 0} << QList<std::int16_t>{0, 1};
    QTest::newRow("leftover score above the last player")
        << 1 << QList<int>{2, 5, 0, 40, 0, 40} << QList<std::int16_t>{1};
    QTest::newRow("16-bit extremes") << 2 << QList<int>{-32768, 32767, 32767}
                                     << QList<std::int16_t>{1, 2};
}

void RulesTest::winnersHoldTheTopScore()
{
    QFETCH(int, lastPlayer);
    QFETCH(QList<int>, scores);
    QFETCH(QList<std::int16_t>, winners);
    Module1 match;
    match.LastPlayer = std::int16_t(lastPlayer);
    for (int slot = 0; slot < scores.size(); ++slot)
        match.Players[slot].Score = std::int16_t(scores[slot]);
    QCOMPARE(WinnerSlots(match), winners);
}

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_rules.moc"
