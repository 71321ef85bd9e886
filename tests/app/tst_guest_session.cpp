#include "FakeNetwork.h"
#include "Form3.h"
#include "GuestSession.h"
#include "PlayfieldView.h"
#include "VirtualPad.h"

#include <QLabel>
#include <QtTest>

using namespace net;

namespace {

// A joined computer's session and the host's end of the fake network, from
// which a test sends what a host would.
struct GuestTable
{
    void Send(const Message& message)
    {
        QVERIFY(hostEnd.Send(guestPeer, Channel::Reliable, Encode(message)));
    }
    // Until the session has handled all of it.
    void Settle()
    {
        for (int step = 0; step < 5; ++step) {
            network.Advance();
            session.Serve();
        }
    }
    // The turn keys the host heard last, for each player; counts the asks
    // for the next round on the way.
    QMap<int, std::pair<bool, bool>> HeardKeys()
    {
        Settle();
        while (const std::optional<TransportEvent> event = hostEnd.Poll()) {
            const std::optional<Message> message = Decode(event->data);
            if (const auto* input = message ? std::get_if<Input>(&*message) : nullptr)
                heard[input->player] = {input->left, input->right};
            if (message && std::holds_alternative<NextRound>(*message))
                ++nextRounds;
        }
        return heard;
    }
    QList<Form3*> WinnerWindows() const
    {
        QList<Form3*> shown;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* winners = qobject_cast<Form3*>(window); winners && winners->isVisible())
                shown << winners;
        }
        return shown;
    }

    ControllerSupport controllerSupport;
    FakeNetwork network{11, {0, 1, 0}};
    FakeEndpoint& hostEnd = network.AddEndpoint();
    FakeEndpoint& guestEnd = network.AddEndpoint();
    PeerId hostPeer = network.Connect(guestEnd, hostEnd);
    PeerId guestPeer = 1;
    QString line;
    int status = -1;
    QMap<int, std::pair<bool, bool>> heard;
    int nextRounds = 0;
    GuestSession session{guestEnd, hostPeer, Hello{QStringLiteral("1"), 1, {}, 1, false},
                         [this](const QString& said, int ended) {
                             line = said;
                             status = ended;
                         }};
};

} // namespace

class GuestSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void showsTheHostsMatchAndWinners();
    void aKeyHeldIntoANewRoundIsLetGo_data();
    void aKeyHeldIntoANewRoundIsLetGo();
    void itsKeysFollowTheSeatMap();
    void itsControllersSteerItsSeats_data();
    void itsControllersSteerItsSeats();
    void endsAsTheHostSays_data();
    void endsAsTheHostSays();
};

// The game window opens with the match's players; the winner window comes
// with the end of the match and goes with the next one's players.
void GuestSessionTest::showsTheHostsMatchAndWinners()
{
    GuestTable table;
    table.Send(Welcome{1, 0b100});
    table.Send(Players{{QStringLiteral("Adam"), QStringLiteral("Bára"), QStringLiteral("Eva")}});
    table.Settle();
    QVERIFY(table.session.form1.isVisible());
    QCOMPARE(table.session.form1.Name(2), QStringLiteral("Eva"));

    table.Send(TickBatch{{Tick{1, {FillBox{10, 10, 20, 20, PlayerColors[2]}, ShowScore{2, QStringLiteral("02")},
                        BannerCaption{QStringLiteral("Level 2")}, Winners{{{QStringLiteral("Eva"), PlayerColors[2]}}}}}}});
    table.Settle();
    QCOMPARE(table.session.field.ReadPixel(15, 15), PlayerColors[2]);
    QCOMPARE(table.session.form1.Label2[2]->text(), QStringLiteral("02"));
    QCOMPARE(table.WinnerWindows().size(), 1);

    table.Send(Players{{QStringLiteral("Adam"), QStringLiteral("Bára")}});
    table.Settle();
    QVERIFY(table.WinnerWindows().isEmpty());
    QCOMPARE(table.status, -1);
}

void GuestSessionTest::aKeyHeldIntoANewRoundIsLetGo_data()
{
    QTest::addColumn<bool>("newMatch");
    QTest::newRow("next round") << false;
    QTest::newRow("next match") << true;
}

// The host turns a key held on into a new round only from its next press,
// so the guest must say it is let go, or it never turns again.
void GuestSessionTest::aKeyHeldIntoANewRoundIsLetGo()
{
    QFETCH(bool, newMatch);
    GuestTable table;
    const std::pair<bool, bool> left{true, false}, none{false, false};
    table.Send(Welcome{1, 0b100});
    table.Send(Players{{QStringLiteral("Adam"), QStringLiteral("Bára"), QStringLiteral("Eva")}});
    table.Settle();
    QTest::keyPress(table.session.form1.Picture1, Qt::Key_Left);
    QCOMPARE(table.HeardKeys().value(3), left);
    if (newMatch)
        table.Send(Players{{QStringLiteral("Adam"), QStringLiteral("Bára"), QStringLiteral("Eva")}});
    else
        table.Send(TickBatch{{Tick{1, {BannerVisible{false}}}}});
    QCOMPARE(table.HeardKeys().value(3), none);
    QTest::keyPress(table.session.form1.Picture1, Qt::Key_Left);
    QCOMPARE(table.HeardKeys().value(3), left);
}

// Players 3 and 4 on the arrows and Q/W; player 3 taken back by the host,
// player 4 is its first seat and turns as the arrows say, at once.
void GuestSessionTest::itsKeysFollowTheSeatMap()
{
    GuestTable table;
    table.Send(Welcome{1, 0b1100});
    table.Settle();
    QTest::keyPress(table.session.form1.Picture1, Qt::Key_Left);
    QTest::keyPress(table.session.form1.Picture1, Qt::Key_W);
    QCOMPARE(table.HeardKeys().value(4), std::pair(false, true));
    table.Send(SeatMap{{HostComputer, HostComputer, HostComputer, 1, NoComputer, NoComputer}});
    QCOMPARE(table.HeardKeys().value(4), std::pair(true, false));
}

void GuestSessionTest::itsControllersSteerItsSeats_data()
{
    QTest::addColumn<int>("seats");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("steers"); // the player
    QTest::addColumn<bool>("turns");
    QTest::newRow("D-pad left") << 0b100 << int(SDL_CONTROLLER_BUTTON_DPAD_LEFT) << 3 << true;
    // As one controller on a computer of two players steers player 2.
    QTest::newRow("two seats: the second") << 0b1100 << int(SDL_CONTROLLER_BUTTON_DPAD_LEFT) << 4 << true;
    QTest::newRow("south button asks for the next round") << 0b100 << int(SDL_CONTROLLER_BUTTON_A) << 3 << false;
}

// As on a single computer, with its seats for the players; it lights up its
// player's number and colour, and its player's death rumbles it.
void GuestSessionTest::itsControllersSteerItsSeats()
{
    QFETCH(int, seats);
    QFETCH(int, button);
    QFETCH(int, steers);
    QFETCH(bool, turns);
    GuestTable table;
    VirtualPad pad;
    table.Send(Welcome{1, SeatSet(seats)});
    table.Send(Players{{QStringLiteral("Adam"), QStringLiteral("Bára"), QStringLiteral("Eva"), QStringLiteral("Ota")}});
    table.Settle();
    pad.Press(button);
    QCOMPARE(table.HeardKeys().value(steers), std::pair(turns, false));
    QCOMPARE(pad.playerIndex, steers - 1);
    QCOMPARE(pad.light, PlayerColors[std::size_t(steers - 1)]);
    QCOMPARE(table.nextRounds, turns ? 0 : 1);

    table.Send(TickBatch{{Tick{1, {HeadDied{std::uint8_t(steers - 1)}, HeadDied{0}}}}});
    table.Settle();
    QCOMPARE(pad.rumbles.size(), 1);
}

void GuestSessionTest::endsAsTheHostSays_data()
{
    QTest::addColumn<int>("how"); // 0 refused, 1 goodbye, 2 gone
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("status");
    QTest::newRow("wrong code") << 0 << "Hostitel odmítl připojení: špatný kód hry." << 1;
    QTest::newRow("host ended the match") << 1 << "Hostitel ukončil hru." << 0;
    QTest::newRow("host gone") << 2 << "Spojení s hostitelem se ztratilo, hra skončila." << 0;
}

void GuestSessionTest::endsAsTheHostSays()
{
    QFETCH(int, how);
    QFETCH(QString, line);
    QFETCH(int, status);
    GuestTable table;
    if (how == 0) {
        table.Send(Refusal{RefusalReason::WrongCode, QStringLiteral("1"), QStringLiteral("1")});
    } else {
        table.Send(Welcome{1, 0b100});
        if (how == 1)
            table.Send(Goodbye{GoodbyeReason::HostEndedMatch});
        else
            table.hostEnd.Disconnect(table.guestPeer);
    }
    table.Settle();
    QCOMPARE(table.line, line);
    QCOMPARE(table.status, status);
}

QTEST_MAIN(GuestSessionTest)
#include "tst_guest_session.moc"
