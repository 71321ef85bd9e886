#include "Admission.h"
#include "FakeNetwork.h"
#include "JoinFlow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace net;

Q_DECLARE_METATYPE(net::Message)

namespace {

// The flow owns its transport; the fake network owns its endpoints.
class BorrowedEndpoint final : public Transport
{
public:
    explicit BorrowedEndpoint(Transport& endpoint) : endpoint(endpoint) {}
    bool Send(PeerId peer, Channel channel, QByteArrayView data) override { return endpoint.Send(peer, channel, data); }
    std::optional<TransportEvent> Poll() override { return endpoint.Poll(); }
    void Disconnect(PeerId peer) override { endpoint.Disconnect(peer); }

private:
    Transport& endpoint;
};

// The join window's run with a host at the other end of a fake network, or
// none when answering is false; from the host's end a test says what a host
// would.
struct JoinTable
{
    JoinTable()
    {
        flow.window.Text1->setText(QStringLiteral("192.0.2.1"));
        flow.window.Text2->setText(QStringLiteral("0042"));
    }
    void Send(const Message& message) { QVERIFY(hostEnd.Send(1, Channel::Reliable, Encode(message))); }
    // Until the window is shown again, the network moving meanwhile.
    bool WindowBack()
    {
        return QTest::qWaitFor([this] {
            network.Advance();
            return flow.window.isVisible();
        });
    }

    FakeNetwork network{5, {0, 1, 0}};
    FakeEndpoint& hostEnd = network.AddEndpoint();
    FakeEndpoint& guestEnd = network.AddEndpoint();
    bool answering = true;
    QList<NetworkOptions> asked;
    bool closed = false;
    JoinFlow flow{NetworkOptions{}, [this] { closed = true; },
                  std::make_unique<DiscoverySearch>(QList<QHostAddress>{}),
                  [this](const NetworkOptions& options, const std::function<void()>&) -> std::optional<JoinFlow::Connection> {
                      asked << options;
                      if (!answering)
                          return std::nullopt;
                      return JoinFlow::Connection{std::make_unique<BorrowedEndpoint>(guestEnd),
                                                  network.Connect(guestEnd, hostEnd)};
                  }};
};

} // namespace

class JoinFlowTest : public QObject
{
    Q_OBJECT

private slots:
    void refusedJoinShowsWhy_data();
    void refusedJoinShowsWhy();
    void wrongBoxesAskNobody_data();
    void wrongBoxesAskNobody();
    void joinsWithTheBoxesAndComesBackAfterTheMatch();
    void chosenGameFillsTheAddress();
    void closeBoxEndsTheProgram();
};

void JoinFlowTest::refusedJoinShowsWhy_data()
{
    QTest::addColumn<bool>("answering");
    QTest::addColumn<Message>("answer");
    QTest::addColumn<QString>("line");
    const Refusal other{RefusalReason::OtherVersion, QStringLiteral("1.00.0009"), QStringLiteral(KLIKVAR_VERSION)};
    QTest::newRow("wrong code") << true << Message(Refusal{RefusalReason::WrongCode, {}, {}})
                                << "Hostitel odmítl připojení: špatný kód hry.";
    QTest::newRow("other version") << true << Message(other) << RefusalLine(other);
    QTest::newRow("full") << true << Message(Refusal{RefusalReason::Full, {}, {}})
                          << "Hostitel odmítl připojení: hra je plná (nejvýš 5 připojených počítačů).";
    QTest::newRow("no answer") << false << Message(NextRound{}) << "Hostitel 192.0.2.1 na portu 24724 neodpovídá.";
}

void JoinFlowTest::refusedJoinShowsWhy()
{
    QFETCH(bool, answering);
    QFETCH(Message, answer);
    JoinTable table;
    table.answering = answering;
    emit table.flow.window.ConnectChosen();
    if (answering) {
        QVERIFY(!table.flow.window.isVisible());
        table.Send(answer);
        QVERIFY(table.WindowBack());
    }
    QVERIFY(table.flow.window.isVisible());
    QTEST(table.flow.window.Label7->text(), "line");
    QCOMPARE(table.asked.size(), 1);
    QTRY_VERIFY(!table.flow.guest); // the session goes once the window is back
}

void JoinFlowTest::wrongBoxesAskNobody_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("line");
    QTest::newRow("no address") << " " << "0042" << "Vyberte hru ze seznamu, nebo napište adresu hostitele.";
    QTest::newRow("a port that is none") << "h:99999" << "0042" << "Port musí být číslo od 1 do 65535.";
    QTest::newRow("three digits of code") << "h" << "042" << "Kód hry jsou čtyři číslice, jak je ukazuje hostitel.";
}

void JoinFlowTest::wrongBoxesAskNobody()
{
    QFETCH(QString, address);
    QFETCH(QString, code);
    JoinTable table;
    table.flow.window.Text1->setText(address);
    table.flow.window.Text2->setText(code);
    emit table.flow.window.ConnectChosen();
    QTEST(table.flow.window.Label7->text(), "line");
    QVERIFY(table.asked.isEmpty());
}

// What the boxes say goes into the hello; the host's end of the match
// brings the window back with the line that says so.
void JoinFlowTest::joinsWithTheBoxesAndComesBackAfterTheMatch()
{
    JoinTable table;
    table.flow.window.Text1->setText(QStringLiteral("pc:6000"));
    table.flow.window.Text3->setText(QStringLiteral("Žofie"));
    table.flow.window.Text4->setText(QStringLiteral("3"));
    table.flow.window.Check1->setChecked(true);
    QTest::mouseClick(table.flow.window.Label6, Qt::LeftButton);
    QCOMPARE(table.asked.size(), 1);
    QCOMPARE(table.asked[0].host, QStringLiteral("pc"));
    QCOMPARE(table.asked[0].port, 6000);

    std::optional<Message> hello;
    QVERIFY(QTest::qWaitFor([&] {
        table.network.Advance();
        while (const std::optional<TransportEvent> event = table.hostEnd.Poll()) {
            if (event->kind == TransportEvent::Kind::Received)
                hello = Decode(event->data);
        }
        return hello.has_value();
    }));
    QCOMPARE(*hello, Message(Hello{QStringLiteral(KLIKVAR_VERSION), 42, QStringLiteral("Žofie"), 3, true}));

    table.Send(Welcome{1, 0});
    table.Send(Players{{QStringLiteral("A"), QStringLiteral("B")}});
    QVERIFY(QTest::qWaitFor([&] {
        table.network.Advance();
        return table.flow.guest && table.flow.guest->form1.isVisible();
    }));
    table.Send(Goodbye{GoodbyeReason::HostEndedMatch});
    QVERIFY(table.WindowBack());
    QCOMPARE(table.flow.window.Label7->text(), QStringLiteral("Hostitel ukončil hru."));
    QTRY_VERIFY(!table.flow.guest);
    QVERIFY(!table.closed);
}

void JoinFlowTest::chosenGameFillsTheAddress()
{
    JoinTable table;
    const FoundGame found{QHostAddress(QStringLiteral("192.0.2.9")),
                          DiscoveryAnswer{QStringLiteral("pracovna"), 2, 4, 24800, QStringLiteral("0.9")}, 0};
    const JoinWindow::Game row = GameRow(found, QStringLiteral(KLIKVAR_VERSION));
    QCOMPARE(row.row, QStringLiteral("pracovna (192.0.2.9): hráči 2, volná místa 4, jiná verze 0.9"));
    table.flow.window.ShowGames({row});
    table.flow.window.List1->setCurrentRow(0);
    QCOMPARE(table.flow.window.Text1->text(), QStringLiteral("192.0.2.9:24800"));
    // Refilled every second: the choice stays, and refilling chooses nothing.
    table.flow.window.Text1->setText(QStringLiteral("jinde"));
    table.flow.window.ShowGames({row});
    QCOMPARE(table.flow.window.List1->currentRow(), 0);
    QCOMPARE(table.flow.window.Text1->text(), QStringLiteral("jinde"));
}

void JoinFlowTest::closeBoxEndsTheProgram()
{
    JoinTable table;
    QVERIFY(table.flow.window.isVisible());
    table.flow.window.close();
    QVERIFY(table.closed);
}

QTEST_MAIN(JoinFlowTest)
#include "tst_join_flow.moc"
