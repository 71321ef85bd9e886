#include "Admission.h"
#include "FakeNetwork.h"
#include "Packet.h"

#include <QtTest>

using namespace net;

namespace {

using Conditions = FakeNetwork::Conditions;

// What one endpoint receives while the network runs for the given steps.
QList<TransportEvent> Received(FakeNetwork& network, FakeEndpoint& at, int steps)
{
    QList<TransportEvent> received;
    for (int step = 0; step < steps; ++step) {
        network.Advance();
        while (std::optional<TransportEvent> event = at.Poll()) {
            if (event->kind == TransportEvent::Kind::Received)
                received.append(*event);
        }
    }
    return received;
}

// Numbers 0..count-1 sent on one channel, and what arrived of them.
QList<int> SendNumbers(std::uint64_t seed, Conditions conditions, Channel channel, int count)
{
    FakeNetwork network(seed, conditions);
    FakeEndpoint& a = network.AddEndpoint();
    FakeEndpoint& b = network.AddEndpoint();
    const PeerId bOnA = network.Connect(a, b);
    for (int i = 0; i < count; ++i)
        a.Send(bOnA, channel, QByteArray::number(i));
    QList<int> arrived;
    for (const TransportEvent& event : Received(network, b, conditions.maxDelay + 2))
        arrived.append(event.data.toInt());
    return arrived;
}

} // namespace

Q_DECLARE_METATYPE(FakeNetwork::Conditions)
Q_DECLARE_METATYPE(net::Channel)

class FakeNetworkTest : public QObject
{
    Q_OBJECT

private slots:
    void channelsLoseAndReorderAsENetDoes_data();
    void channelsLoseAndReorderAsENetDoes();
    void theSameSeedGivesTheSameNetwork();
    void aJoinOverALossyNetwork_data();
    void aJoinOverALossyNetwork();
};

void FakeNetworkTest::channelsLoseAndReorderAsENetDoes_data()
{
    QTest::addColumn<Channel>("channel");
    QTest::addColumn<Conditions>("conditions");
    QTest::addColumn<bool>("allArrive");
    QTest::addColumn<bool>("inOrder");
    QTest::newRow("reliable, instant") << Channel::Reliable << Conditions{0, 0, 0} << true << true;
    QTest::newRow("reliable, spread delays, heavy loss") << Channel::Reliable << Conditions{1, 20, 50} << true << true;
    QTest::newRow("reliable, all lost that may be") << Channel::Reliable << Conditions{3, 3, 100} << true << true;
    QTest::newRow("unreliable, instant") << Channel::Unreliable << Conditions{0, 0, 0} << true << true;
    QTest::newRow("unreliable, fixed delay") << Channel::Unreliable << Conditions{5, 5, 0} << true << true;
    QTest::newRow("unreliable, spread delays") << Channel::Unreliable << Conditions{1, 20, 0} << true << false;
    QTest::newRow("unreliable, 2 % loss") << Channel::Unreliable << Conditions{0, 0, 2} << false << true;
    QTest::newRow("unreliable, all lost") << Channel::Unreliable << Conditions{0, 0, 100} << false << true;
}

void FakeNetworkTest::channelsLoseAndReorderAsENetDoes()
{
    QFETCH(Channel, channel);
    QFETCH(Conditions, conditions);
    QFETCH(bool, allArrive);
    QFETCH(bool, inOrder);
    const QList<int> arrived = SendNumbers(7, conditions, channel, 500);
    QCOMPARE(arrived.size() == 500, allArrive);
    if (!allArrive) // about the loss asked for
        QVERIFY(arrived.size() >= 500 * (100 - 2 * conditions.dropPercent) / 100 && arrived.size() <= 500 * (100 - conditions.dropPercent / 2) / 100);
    QCOMPARE(std::is_sorted(arrived.begin(), arrived.end()), inOrder);
    QCOMPARE(QSet<int>(arrived.begin(), arrived.end()).size(), arrived.size()); // none twice
}

void FakeNetworkTest::theSameSeedGivesTheSameNetwork()
{
    const Conditions lossy{1, 10, 20};
    QCOMPARE(SendNumbers(42, lossy, Channel::Unreliable, 300), SendNumbers(42, lossy, Channel::Unreliable, 300));
    QVERIFY(SendNumbers(42, lossy, Channel::Unreliable, 300) != SendNumbers(43, lossy, Channel::Unreliable, 300));
}

void FakeNetworkTest::aJoinOverALossyNetwork_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("joinedBefore");
    QTest::addColumn<int>("refusal"); // 0: welcomed
    QTest::newRow("right code and version") << "1.00.0007" << 1234 << 0 << 0;
    QTest::newRow("wrong code") << "1.00.0007" << 4321 << 0 << int(RefusalReason::WrongCode);
    QTest::newRow("other version") << "1.00.0009" << 1234 << 0 << int(RefusalReason::OtherVersion);
    QTest::newRow("other version and wrong code") << "1.00.0006" << 1 << 0 << int(RefusalReason::OtherVersion);
    QTest::newRow("a version's prefix") << "1.00.000" << 1234 << 0 << int(RefusalReason::OtherVersion);
    QTest::newRow("four joined already") << "1.00.0007" << 1234 << 4 << 0;
    QTest::newRow("five steer and eight watch already") << "1.00.0007" << 1234 << MaxComputers << int(RefusalReason::Full);
}

void FakeNetworkTest::aJoinOverALossyNetwork()
{
    QFETCH(QString, version);
    QFETCH(int, code);
    QFETCH(int, joinedBefore);
    QFETCH(int, refusal);
    Seats seats(true);
    for (int i = 0; i < joinedBefore; ++i)
        QVERIFY(seats.Join(1, i >= MaxGuests).has_value());
    const SeatMap before = seats.Map();

    // 100 ms round trips in 10 ms steps, 2 % loss: the hello and its answer
    // go reliably, so they arrive all the same.
    FakeNetwork network(5, Conditions{4, 6, 2});
    FakeEndpoint& host = network.AddEndpoint();
    FakeEndpoint& guest = network.AddEndpoint();
    const PeerId hostOnGuest = network.Connect(guest, host);
    QVERIFY(guest.Send(hostOnGuest, Channel::Reliable, Encode(Hello{version, std::uint16_t(code), QStringLiteral("Eva"), 2, false})));
    for (const TransportEvent& event : Received(network, host, 10)) {
        const std::optional<Message> hello = Decode(event.data);
        QVERIFY(hello && std::holds_alternative<Hello>(*hello));
        const auto reply = Admit(std::get<Hello>(*hello), HostFacts{QStringLiteral("1.00.0007"), 1234}, seats);
        std::visit([&](const auto& m) { QVERIFY(host.Send(event.peer, Channel::Reliable, Encode(m))); }, reply);
    }
    const QList<TransportEvent> replies = Received(network, guest, 10);
    QCOMPARE(replies.size(), 1);
    const std::optional<Message> reply = Decode(replies[0].data);
    QVERIFY(reply.has_value());
    if (refusal == 0) {
        QVERIFY(std::holds_alternative<Welcome>(*reply));
        const Welcome welcome = std::get<Welcome>(*reply);
        QVERIFY(welcome.seats != 0);
        QCOMPARE(seats.SeatsOf(welcome.computer), welcome.seats);
    } else {
        QVERIFY(std::holds_alternative<Refusal>(*reply));
        QCOMPARE(int(std::get<Refusal>(*reply).reason), refusal);
        QVERIFY(seats.Map() == before); // a refused computer takes no seat
    }
}

QTEST_APPLESS_MAIN(FakeNetworkTest)
#include "tst_fake_network.moc"
