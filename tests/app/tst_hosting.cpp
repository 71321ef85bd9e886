#include "FakeNetwork.h"
#include "Fakes.h"
#include "GuestLink.h"
#include "HostMatch.h"
#include "NetworkStart.h"
#include "PlayfieldView.h"
#include "Session.h"

#include <QCheckBox>
#include <QLabel>
#include <QtTest>

using namespace net;

namespace {

// A session that hosts, three players ticked, and a joined computer that
// asked for one seat, on a fake network that moves on by itself.
struct HostedTable
{
    struct AtSetup
    {
    };
    // The setup window not yet shown, nobody joined.
    explicit HostedTable(AtSetup)
    {
        QObject::connect(&networkTimer, &QTimer::timeout, &session.form1, [this] {
            network.Advance();
            guest.Serve();
        });
        networkTimer.start(1);
    }
    // The guest joins at the setup window, which ticks its player's box;
    // then the host presses Start.
    explicit HostedTable(bool joinFirst = true)
        : HostedTable(AtSetup{})
    {
        if (joinFirst)
            Join();
        QTimer::singleShot(0, &session.form2, [this] {
            QTest::mousePress(session.form2.Label2[0], Qt::LeftButton);
        });
        session.Form1_Load();
        session.form1.Timer1.stop();
        if (!joinFirst)
            Join();
    }

    void Join()
    {
        guest.SayHello(Hello{QStringLiteral(KLIKVAR_VERSION), Code, QStringLiteral("Eva"), 1, false});
        for (int step = 0; step < 100 && guest.StateNow() == GuestLink::State::Joining; ++step) {
            network.Advance();
            session.host->Serve();
            guest.Serve();
        }
    }

    // A key on the host's own game window.
    void Press(Qt::Key key) { QTest::keyPress(session.form1.Picture1, key); }

    static constexpr std::uint16_t Code = 1234;
    FakeNetwork network{5, {0, 2, 0}};
    FakeEndpoint& hostEnd = network.AddEndpoint();
    FakeEndpoint& guestEnd = network.AddEndpoint();
    PeerId hostPeer = network.Connect(guestEnd, hostEnd);
    ScriptedRandom random;
    int programEnds = 0;
    Session session{random, [this] { ++programEnds; }, &hostEnd, Code};
    Playfield guestField;
    RecordingScreens guestScreens;
    GuestLink guest{guestEnd, hostPeer, guestField, guestScreens, [](const QList<WinnerRow>&) {}};
    QTimer networkTimer;
};

} // namespace

class HostingTest : public QObject
{
    Q_OBJECT

private slots:
    void aJoinedComputerSteersItsPlayerAlone();
    void aGuestThatGoesGivesItsPlayerBack();
    void aGuestsKeyHeldIntoANewRoundWaitsForItsNextPress_data();
    void aGuestsKeyHeldIntoANewRoundWaitsForItsNextPress();
    void theGuestLearnsThePlayersAndStartsTheNextRound();
    void escOnTheHostEndsTheMatchForTheGuest();
    void aPlayerTheHostTickedStaysTheHosts();
    void anUntickedPlayerIsFreeAgain_data();
    void anUntickedPlayerIsFreeAgain();
    void theHostHandsPlayersOver();
};

// Player 3 is the joined computer's: its keys turn it, and player 3's keys
// on the host's keyboard do not; the guest's field follows the host's.
void HostingTest::aJoinedComputerSteersItsPlayerAlone()
{
    HostedTable table;
    Session& session = table.session;
    QTRY_COMPARE(table.guest.StateNow(), GuestLink::State::Playing);
    QCOMPARE(table.guest.Seats(), SeatSet(1u << 2));
    PlaceHead(session.match, 2, 225, 100, 0, 1);

    table.Press(Qt::Key_B); // player 3's right on the host
    table.guest.SetKeys(0, true, false);
    session.form1.Timer1.start();
    QVERIFY(QTest::qWaitForWindowExposed(&session.form1));
    QTRY_VERIFY(session.match.Players[2].TurnLeft);
    QVERIFY(!session.match.Players[2].TurnRight);
    QTRY_VERIFY(session.match.Players[2].Angle != 0);
    // The credit takes a colour every tenth tick.
    QTRY_VERIFY(!table.guestScreens.creditColors.isEmpty());

    session.form1.Timer1.stop();
    QTRY_VERIFY(table.guestField.Image() == session.game.Field().Image());

    QCOMPARE(ToQColor(table.guestScreens.creditColors.last()),
             session.form1.Label3->palette().color(QPalette::WindowText));
}

// Left, its player is the host keyboard's again.
void HostingTest::aGuestThatGoesGivesItsPlayerBack()
{
    HostedTable table;
    Session& session = table.session;
    int changes = 0;
    session.host->Link().OnComputersChanged([&changes] { ++changes; });
    QTRY_COMPARE(table.guest.StateNow(), GuestLink::State::Playing);
    QCOMPARE(ComputerRows(session.host->Link()), QStringList{QStringLiteral("Počítač 1 (Eva): hráč 3")});
    table.guest.Leave();
    QTRY_VERIFY(!session.host->Link().SteeredRemotely(2));
    QCOMPARE(changes, 1);
    QCOMPARE(ComputerRows(session.host->Link()), QStringList());
    table.Press(Qt::Key_V);
    QVERIFY(session.match.Players[2].TurnLeft);
}

void HostingTest::aGuestsKeyHeldIntoANewRoundWaitsForItsNextPress_data()
{
    QTest::addColumn<bool>("newMatch");
    QTest::newRow("next round") << false;
    QTest::newRow("next match") << true;
}

// As a key on the host's keyboard: held on, and repeated by the guest, it
// does not turn; a key pressed afresh does, and so does the held one once
// let go and pressed again.
void HostingTest::aGuestsKeyHeldIntoANewRoundWaitsForItsNextPress()
{
    QFETCH(bool, newMatch);
    HostedTable table;
    Session& session = table.session;
    const HostLink& link = session.host->Link();
    QTRY_COMPARE(table.guest.StateNow(), GuestLink::State::Playing);
    table.guest.SetKeys(0, true, false);
    QTRY_VERIFY(link.Asks(2, true));

    if (newMatch) {
        session.Start();
        session.form1.Timer1.stop();
    } else {
        session.game.Paused = true;
        session.match.Level = 2;
        table.Press(Qt::Key_Space);
        QVERIFY(!session.game.Paused);
    }
    QVERIFY(!session.match.Players[2].TurnLeft);
    table.guest.RepeatKeys();
    table.guest.SetKeys(0, true, true);
    QTRY_VERIFY(link.Asks(2, false));
    QVERIFY(!link.Asks(2, true));

    // Both let go, and heard so, before the press: the network may reorder.
    table.guest.SetKeys(0, false, false);
    QTRY_VERIFY(!link.Asks(2, false));
    table.guest.SetKeys(0, true, false);
    QTRY_VERIFY(link.Asks(2, true));
}

// A guest joining the match under way learns its scoreboard; its Space
// starts the round that waits on the host.
void HostingTest::theGuestLearnsThePlayersAndStartsTheNextRound()
{
    HostedTable table(false);
    Session& session = table.session;
    QStringList names;
    table.guest.OnPlayers([&names](const QStringList& shown) { names = shown; });
    QTRY_COMPARE(table.guest.StateNow(), GuestLink::State::Playing);
    QTRY_COMPARE(names.size(), 2);
    QCOMPARE(names[0], session.form2.PlayerName(0));
    // Its name goes into its player's box, for the next match.
    QCOMPARE(session.form2.PlayerName(2), QStringLiteral("Eva"));
    QVERIFY(session.form2.Check1[0]->isChecked());

    session.game.Paused = true;
    session.match.Level = 2;
    table.guest.AskForNextRound();
    QTRY_VERIFY(!session.game.Paused);
}

void HostingTest::escOnTheHostEndsTheMatchForTheGuest()
{
    HostedTable table;
    QTRY_COMPARE(table.guest.StateNow(), GuestLink::State::Playing);
    table.Press(Qt::Key_Escape);
    QCOMPARE(table.programEnds, 1);
    QTRY_COMPARE(table.guest.StateNow(), GuestLink::State::HostEnded);
}

// Player 3 ticked at the host's own keyboard before anybody joined: the
// joining computer is seated on player 4, and V turns player 3 at the host.
void HostingTest::aPlayerTheHostTickedStaysTheHosts()
{
    FakeNetwork network{5, {0, 2, 0}};
    FakeEndpoint& hostEnd = network.AddEndpoint();
    FakeEndpoint& guestEnd = network.AddEndpoint();
    const PeerId hostPeer = network.Connect(guestEnd, hostEnd);
    ScriptedRandom random;
    Session session{random, [] {}, &hostEnd, HostedTable::Code};
    session.form2.Check1[0]->setChecked(true);
    Playfield field;
    RecordingScreens screens;
    GuestLink guest{guestEnd, hostPeer, field, screens, [](const QList<WinnerRow>&) {}};
    guest.SayHello(Hello{QStringLiteral(KLIKVAR_VERSION), HostedTable::Code, QString(), 1, false});
    for (int step = 0; step < 100 && guest.StateNow() == GuestLink::State::Joining; ++step) {
        network.Advance();
        session.host->Serve();
        guest.Serve();
    }
    QCOMPARE(guest.Seats(), SeatSet(1u << 3));
    QCOMPARE(session.host->Link().SeatsNow().Owner(3), HostComputer);
    QVERIFY(session.form2.Check1[1]->isChecked());
}

void HostingTest::anUntickedPlayerIsFreeAgain_data()
{
    QTest::addColumn<bool>("guestFirst");
    QTest::newRow("the host's own") << false;
    QTest::newRow("a joined computer's") << true;
}

// Player 3's box unticked at the setup window: whoever had it, the next to
// join takes it; a computer that steered it stays and watches.
void HostingTest::anUntickedPlayerIsFreeAgain()
{
    QFETCH(bool, guestFirst);
    HostedTable table{HostedTable::AtSetup{}};
    Session& session = table.session;
    const HostLink& link = session.host->Link();
    if (guestFirst)
        table.Join();
    else
        session.form2.Check1[0]->setChecked(true);
    session.form2.Check1[0]->setChecked(false);
    QCOMPARE(link.SeatsNow().Owner(3), NoComputer);
    if (guestFirst) {
        QTRY_COMPARE(table.guest.Seats(), SeatSet(0));
        QCOMPARE(table.guest.StateNow(), GuestLink::State::Playing);
        QCOMPARE(ComputerRows(link), QStringList{QStringLiteral("Počítač 1 (Eva): jen se dívá")});
    } else {
        table.Join();
        QCOMPARE(table.guest.Seats(), SeatSet(1u << 2));
        QVERIFY(session.form2.Check1[0]->isChecked());
    }
}

// From the host window: player 2 to the joined computer, which steers it
// with its first keys, and player 3 back to the host's keyboard; a
// computer that watches is listed apart and handed nothing.
void HostingTest::theHostHandsPlayersOver()
{
    HostedTable table;
    Session& session = table.session;
    HostLink& link = session.host->Link();
    QTRY_COMPARE(table.guest.StateNow(), GuestLink::State::Playing);
    FakeEndpoint& watcherEnd = table.network.AddEndpoint();
    watcherEnd.Send(table.network.Connect(watcherEnd, table.hostEnd), Channel::Reliable,
                    Encode(Hello{QStringLiteral(KLIKVAR_VERSION), HostedTable::Code, QStringLiteral("Jan"), 2, true}));
    QTRY_COMPARE(WatcherNames(link), QStringList{QStringLiteral("Jan")});
    QCOMPARE(ComputerRows(link), QStringList{QStringLiteral("Počítač 1 (Eva): hráč 3")});
    QCOMPARE(NextOwner(link, 2), ComputerId(1));
    QVERIFY(link.MoveSeat(2, NextOwner(link, 2)));
    QTRY_COMPARE(table.guest.Seats(), SeatSet(0b110));
    // Nothing to move: the same owner, or a player not in the match.
    QVERIFY(!link.MoveSeat(2, 1));
    QVERIFY(!link.MoveSeat(4, 1));

    QCOMPARE(NextOwner(link, 3), HostComputer);
    QVERIFY(link.MoveSeat(3, NextOwner(link, 3)));
    QTRY_COMPARE(table.guest.Seats(), SeatSet(0b010));
    QCOMPARE(OwnerRows(link), QStringList({QStringLiteral("Hráč 1: Tento počítač"),
                                           QStringLiteral("Hráč 2: Počítač 1 (Eva)"),
                                           QStringLiteral("Hráč 3: Tento počítač"), "", "", ""}));

    table.guest.SetKeys(0, true, false);
    QTRY_VERIFY(link.Asks(1, true));
    table.Press(Qt::Key_V);
    QVERIFY(session.match.Players[2].TurnLeft);
    QVERIFY(!link.Asks(2, true));
}

QTEST_MAIN(HostingTest)
#include "tst_hosting.moc"
