#include "FakeNetwork.h"
#include "Fakes.h"
#include "GuestLink.h"
#include "HostMatch.h"
#include "TickRecorder.h"

#include <QtTest>

using namespace net;

namespace {

const QString Version = QStringLiteral("1.00.0007");
constexpr std::uint16_t Code = 4321;
constexpr int HashEvery = HostMatch::TicksPerCheck;

// A host running the real rules and a joined computer replaying them, over
// a fake network, stepped one tick at a time.
struct Table
{
    explicit Table(FakeNetwork::Conditions conditions, const QString& rounds = QStringLiteral("2"))
        : network(7, conditions)
    {
        hostScreens.passThrough = hostScreens.caveIns = true;
        hostScreens.rounds = rounds;
        hostScreens.onShowWinners = [this] { matchOver = true; };
        match.AssignPlayerColors();
        match.LastPlayer = 5;
        match.Level = 1;
        match.StartRound(random);
        hostMatch.Watch(game.Field());
        guest.SayHello(Hello{Version, Code, QStringLiteral("Eva"), 1, false});
        for (int step = 0; step < 200 && guest.StateNow() == GuestLink::State::Joining; ++step)
            Step();
    }

    // The network moves on one step and each side handles what arrived.
    void Step()
    {
        network.Advance();
        hostMatch.Serve();
        guest.Serve();
    }

    // One host tick, sent; the next round as soon as one waits.
    void Tick()
    {
        if (game.Paused)
            game.StartNextRound();
        game.Tick();
        ++tick;
        hostMatch.EndTick(match);
        network.Advance();
        guest.Serve();
    }

    // Until everything sent has arrived: the fake network's longest delay.
    void Drain()
    {
        for (int step = 0; step < 100; ++step)
            Step();
    }

    FakeNetwork network;
    FakeEndpoint& hostEnd = network.AddEndpoint();
    FakeEndpoint& guestEnd = network.AddEndpoint();
    PeerId hostPeer = network.Connect(guestEnd, hostEnd);

    Module1 match;
    RecordingScreens hostScreens;
    ClockSeededRandom random{2026};
    bool matchOver = false;
    std::uint32_t tick = 0;
    HostMatch hostMatch{hostEnd, HostFacts{Version, Code}, hostScreens, [this](std::int16_t slot) {
                            return WinnerRow{QStringLiteral("Hráč %1").arg(slot + 1), match.Players[slot].Color};
                        }};
    HostLink& host = hostMatch.Link();
    Game game{match, hostMatch.RulesScreens(), random};

    Playfield guestField;
    RecordingScreens guestScreens;
    QList<WinnerRow> guestWinners;
    GuestLink guest{guestEnd, hostPeer, guestField, guestScreens,
                    [this](const QList<WinnerRow>& rows) { guestWinners = rows; }};
};

} // namespace

class MatchOverNetworkTest : public QObject
{
    Q_OBJECT

private slots:
    void theGuestSeesWhatTheHostSees_data();
    void theGuestSeesWhatTheHostSees();
    void aGuestThatLostItsFieldIsRepaired();
    void theGuestSteersOnlyItsOwnSeats_data();
    void theGuestSteersOnlyItsOwnSeats();
    void aGuestThatGoesGivesItsSeatsBack_data();
    void aGuestThatGoesGivesItsSeatsBack();
    void theGuestLearnsTheHostIsGone_data();
    void theGuestLearnsTheHostIsGone();
    void aGuestGetsOneRepairACheck();
    void aWrongCodeIsRefused();
    void aBusyTickIsCutIntoDatagrams();
};

void MatchOverNetworkTest::theGuestSeesWhatTheHostSees_data()
{
    QTest::addColumn<int>("minDelay");
    QTest::addColumn<int>("maxDelay");
    QTest::addColumn<int>("dropPercent");
    QTest::newRow("at once") << 0 << 0 << 0;
    QTest::newRow("LAN, 2 % lost") << 0 << 2 << 2;
    QTest::newRow("far, reordered, 10 % lost") << 3 << 30 << 10;
}

// A whole match: every drawing call, score, banner and the winners reach
// the guest in order, so its field is the host's pixel for pixel.
void MatchOverNetworkTest::theGuestSeesWhatTheHostSees()
{
    QFETCH(int, minDelay);
    QFETCH(int, maxDelay);
    QFETCH(int, dropPercent);
    Table table({minDelay, maxDelay, dropPercent});
    QCOMPARE(table.guest.StateNow(), GuestLink::State::Playing);
    for (int tick = 0; tick < 100000 && !table.matchOver; ++tick)
        table.Tick();
    QVERIFY(table.matchOver);
    table.Drain();

    QVERIFY(table.guestField.Image() == table.game.Field().Image());
    QCOMPARE(table.guestScreens.scores, table.hostScreens.scores);
    QCOMPARE(table.guestScreens.bannerCaption, table.hostScreens.bannerCaption);
    QCOMPARE(table.guestScreens.bannerVisible, table.hostScreens.bannerVisible);
    QCOMPARE(table.guestScreens.creditColors, table.hostScreens.creditColors);
    QCOMPARE(table.guestScreens.log, table.hostScreens.log.mid(0, table.hostScreens.log.size() - 1));
    QVERIFY(!table.guestWinners.isEmpty());
    QCOMPARE(table.guestWinners.first().color,
             table.match.Players[std::size_t(table.hostScreens.log.last().split(u' ').at(1).toInt())].Color);
    // Nothing was lost on the way, so no check found a difference: what
    // two datagrams in a row lost came again when asked for.
    QVERIFY(table.tick > HashEvery);
    QCOMPARE(table.guest.Mismatches(), 0);
    if (dropPercent >= 10)
        QVERIFY(table.guest.ResendsAsked() > 0);
}

// A guest whose pixels went wrong is found out by the next hash check and
// gets the host's image, and the stream goes on drawing on the right one.
void MatchOverNetworkTest::aGuestThatLostItsFieldIsRepaired()
{
    Table table({1, 8, 2}, QStringLiteral("10000"));
    for (int tick = 0; tick < 150; ++tick)
        table.Tick();
    table.Drain();
    QVERIFY(table.guestField.Image() == table.game.Field().Image());
    table.guestField.FillBox(100, 100, 180, 180, PlayerColors[2]);
    QVERIFY(table.guestField.Image() != table.game.Field().Image());

    // Up to the next check, its answer and the ticks after it.
    for (int tick = 0; tick < HashEvery + 20; ++tick)
        table.Tick();
    table.Drain();
    QCOMPARE(table.guest.Mismatches(), 1);
    QCOMPARE(table.guest.RepairsApplied(), 1);
    QCOMPARE(table.host.RepairsSent(), 1);
    QVERIFY(table.guestField.Image() == table.game.Field().Image());
}

void MatchOverNetworkTest::theGuestSteersOnlyItsOwnSeats_data()
{
    QTest::addColumn<int>("dropPercent");
    QTest::newRow("nothing lost") << 0;
    QTest::newRow("half lost, sent again") << 50;
}

void MatchOverNetworkTest::theGuestSteersOnlyItsOwnSeats()
{
    QFETCH(int, dropPercent);
    Table table({0, 3, dropPercent});
    // The host keeps players 1 and 2; the guest's one seat is player 3.
    QCOMPARE(table.guest.Seats(), SeatSet(1u << 2));
    QVERIFY(table.host.SteeredRemotely(2));
    QVERIFY(!table.host.SteeredRemotely(0));

    table.guest.SetKeys(0, true, false);
    for (int step = 0; step < 200 && !table.host.Asks(2, true); ++step) {
        table.guest.RepeatKeys();
        table.Step();
    }
    QVERIFY(table.host.Asks(2, true));
    QVERIFY(!table.host.Asks(2, false));

    table.guest.SetKeys(0, false, true);
    for (int step = 0; step < 200 && !table.host.Asks(2, false); ++step) {
        table.guest.RepeatKeys();
        table.Step();
    }
    QVERIFY(!table.host.Asks(2, true));
    QVERIFY(table.host.Asks(2, false));

    // A seat it does not own: the host's player 1.
    for (int step = 0; step < 50; ++step) {
        table.guestEnd.Send(table.hostPeer, Channel::Unreliable,
                            Encode(Input{1, true, false, 1000u + std::uint32_t(step)}));
        table.Step();
    }
    QVERIFY(!table.host.Asks(0, true));
}

void MatchOverNetworkTest::aGuestThatGoesGivesItsSeatsBack_data()
{
    QTest::addColumn<bool>("saysGoodbye"); // or vanishes
    QTest::addColumn<int>("awayMs");       // before a computer joins again
    QTest::addColumn<QString>("name");     // by this name
    QTest::addColumn<bool>("hostTookIt");  // unticked and ticked its player meanwhile
    QTest::addColumn<bool>("seatBack");
    const QString eva = QStringLiteral("Eva");
    QTest::newRow("Esc") << true << 1000 << eva << false << false;
    QTest::newRow("gone") << false << 1000 << eva << false << true;
    QTest::newRow("gone for 30 s") << false << 30000 << eva << false << true;
    QTest::newRow("gone longer") << false << 30001 << eva << false << false;
    QTest::newRow("gone, another name comes") << false << 1000 << QStringLiteral("Jan") << false << false;
    QTest::newRow("gone, the host took its player") << false << 1000 << eva << true << false;
}

void MatchOverNetworkTest::aGuestThatGoesGivesItsSeatsBack()
{
    QFETCH(bool, saysGoodbye);
    QFETCH(int, awayMs);
    QFETCH(QString, name);
    QFETCH(bool, hostTookIt);
    QFETCH(bool, seatBack);
    Table table({0, 3, 0});
    qint64 now = 0;
    table.host.UseClock([&now] { return now; });
    table.guest.SetKeys(0, true, false);
    for (int step = 0; step < 20; ++step)
        table.Step();
    QVERIFY(table.host.Asks(2, true));
    QCOMPARE(table.host.Guests(), 1);

    if (saysGoodbye)
        table.guest.Leave();
    else
        table.guestEnd.Disconnect(table.hostPeer);
    for (int step = 0; step < 20; ++step)
        table.Step();
    QCOMPARE(table.host.Guests(), 0);
    QCOMPARE(table.host.SeatsNow().Owner(3), HostComputer);
    // Its player rides on straight ahead.
    QVERIFY(!table.host.Asks(2, true));
    QVERIFY(!table.host.SteeredRemotely(2));

    now += awayMs;
    if (hostTookIt) {
        table.host.FreeSeat(3);
        table.host.KeepForHost(3);
    }
    FakeEndpoint& again = table.network.AddEndpoint();
    again.Send(table.network.Connect(again, table.hostEnd), Channel::Reliable,
               Encode(Hello{Version, Code, name, 1, false}));
    for (int step = 0; step < 20; ++step)
        table.Step();
    QCOMPARE(table.host.Guests(), 1);
    QCOMPARE(table.host.SeatsNow().Owner(3) != HostComputer, seatBack);
}

void MatchOverNetworkTest::theGuestLearnsTheHostIsGone_data()
{
    QTest::addColumn<bool>("saysGoodbye"); // or vanishes
    QTest::addColumn<GuestLink::State>("state");
    QTest::newRow("Esc on the host") << true << GuestLink::State::HostEnded;
    QTest::newRow("host gone") << false << GuestLink::State::HostGone;
}

void MatchOverNetworkTest::theGuestLearnsTheHostIsGone()
{
    QFETCH(bool, saysGoodbye);
    QFETCH(GuestLink::State, state);
    Table table({0, 3, 0});
    if (saysGoodbye)
        table.host.SayGoodbye();
    else
        table.hostEnd.Disconnect(1);
    for (int step = 0; step < 20; ++step)
        table.Step();
    QCOMPARE(table.guest.StateNow(), state);
}

// Asking again and again before the next check gets one repair, not a
// compressed image each time.
void MatchOverNetworkTest::aGuestGetsOneRepairACheck()
{
    Table table({0, 2, 0}, QStringLiteral("10000"));
    for (int ask = 0; ask < 5; ++ask)
        table.guestEnd.Send(table.hostPeer, Channel::Reliable, Encode(RepairRequest{1}));
    table.Drain();
    QCOMPARE(table.host.RepairsSent(), 1);
    for (int tick = 0; tick < HashEvery; ++tick)
        table.Tick();
    table.guestEnd.Send(table.hostPeer, Channel::Reliable, Encode(RepairRequest{2}));
    table.Drain();
    QCOMPARE(table.host.RepairsSent(), 2);
    QVERIFY(table.guestField.Image() == table.game.Field().Image());
}

void MatchOverNetworkTest::aWrongCodeIsRefused()
{
    FakeNetwork network(3, {0, 2, 0});
    FakeEndpoint& hostEnd = network.AddEndpoint();
    FakeEndpoint& guestEnd = network.AddEndpoint();
    const PeerId hostPeer = network.Connect(guestEnd, hostEnd);
    HostLink host(hostEnd, HostFacts{Version, Code}, false);
    Playfield field;
    RecordingScreens screens;
    GuestLink guest(guestEnd, hostPeer, field, screens, [](const QList<WinnerRow>&) {});
    guest.SayHello(Hello{Version, Code + 1, QString(), 1, false});
    for (int step = 0; step < 20; ++step) {
        network.Advance();
        host.Serve(QImage());
        guest.Serve();
    }
    QCOMPARE(guest.StateNow(), GuestLink::State::Refused);
    QCOMPARE(guest.Refused().reason, RefusalReason::WrongCode);
    QCOMPARE(host.Guests(), 0);
    QCOMPARE(host.SeatsNow().Owner(3), NoComputer);
}

// A cleared field, a frame and six heads fit one datagram; a tick with far
// more must still arrive whole, in order, in several.
void MatchOverNetworkTest::aBusyTickIsCutIntoDatagrams()
{
    QList<Event> events;
    for (int i = 0; i < 600; ++i)
        events.append(DrawSegment{double(i % 450), 1.5, double(i % 450) + 1.25, 2.5, PlayerColors[i % 6]});
    events.insert(100, ShowScore{0, QString(MaxLabelChars + 1, u'x')}); // too long to travel
    const QList<Tick> ticks = SplitTick(42, events, true);
    QVERIFY(ticks.size() > 2);
    QList<Event> arrived;
    for (qsizetype part = 0; part < ticks.size(); ++part) {
        const Tick& tick = ticks[part];
        QCOMPARE(tick.tick, 42u);
        QCOMPARE(tick.part, part);
        // The trails start afresh before the first part only; the last says so.
        QCOMPARE(tick.fresh, part == 0);
        QCOMPARE(tick.last, part == ticks.size() - 1);
        QVERIFY(!Encode(TickBatch{{tick}}).isEmpty());
        arrived += tick.events;
    }
    events.removeAt(100);
    QCOMPARE(arrived, events);
    QVERIFY(SplitTick(43, {}, false).isEmpty());
}

QTEST_GUILESS_MAIN(MatchOverNetworkTest)
#include "tst_match_over_network.moc"
