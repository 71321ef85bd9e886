#include "Admission.h"
#include "FakeNetwork.h"
#include "Packet.h"

#include <QtTest>

#include <numeric>

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

class FakeNetworkTest : public QObject
{
    Q_OBJECT

private slots:
    void theReliableChannelKeepsEveryPacketInOrder_data();
    void theReliableChannelKeepsEveryPacketInOrder();
    void theUnreliableChannelDropsAndReorders_data();
    void theUnreliableChannelDropsAndReorders();
    void theSameSeedGivesTheSameNetwork();
    void aJoinOverALossyNetwork_data();
    void aJoinOverALossyNetwork();
};

void FakeNetworkTest::theReliableChannelKeepsEveryPacketInOrder_data()
{
    QTest::addColumn<Conditions>("conditions");
    QTest::newRow("instant") << Conditions{0, 0, 0};
    QTest::newRow("spread delays") << Conditions{1, 20, 0};
    QTest::newRow("spread delays, heavy loss") << Conditions{1, 20, 50};
    QTest::newRow("everything lost that may be") << Conditions{3, 3, 100};
}

void FakeNetworkTest::theReliableChannelKeepsEveryPacketInOrder()
{
    QFETCH(Conditions, conditions);
    QList<int> sent(200);
    std::iota(sent.begin(), sent.end(), 0);
    QCOMPARE(SendNumbers(7, conditions, Channel::Reliable, 200), sent);
}

void FakeNetworkTest::theUnreliableChannelDropsAndReorders_data()
{
    QTest::addColumn<Conditions>("conditions");
    QTest::addColumn<bool>("allArrive");
    QTest::addColumn<bool>("inOrder");
    QTest::newRow("instant") << Conditions{0, 0, 0} << true << true;
    QTest::newRow("fixed delay") << Conditions{5, 5, 0} << true << true;
    QTest::newRow("spread delays") << Conditions{1, 20, 0} << true << false;
    QTest::newRow("2 % loss") << Conditions{0, 0, 2} << false << true;
}

void FakeNetworkTest::theUnreliableChannelDropsAndReorders()
{
    QFETCH(Conditions, conditions);
    QFETCH(bool, allArrive);
    QFETCH(bool, inOrder);
    const QList<int> arrived = SendNumbers(7, conditions, Channel::Unreliable, 500);
    QCOMPARE(arrived.size() == 500, allArrive);
    QVERIFY(arrived.size() >= 500 * (100 - 2 * conditions.dropPercent) / 100); // about the loss asked for
    QCOMPARE(std::is_sorted(arrived.begin(), arrived.end()), inOrder);
    QCOMPARE(QSet<int>(arrived.begin(), arrived.end()).size(), arrived.size()); // none twice
    QCOMPARE(SendNumbers(7, Conditions{0, 0, 100}, Channel::Unreliable, 50), QList<int>());
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
    QTest::addColumn<QString>("answer"); // "welcome" or the refusal's line
    const Refusal other{RefusalReason::OtherVersion, QStringLiteral("1.00.0007"), QStringLiteral("1.00.0009")};
    QTest::newRow("welcomed") << "1.00.0007" << 1234 << "welcome";
    QTest::newRow("wrong code") << "1.00.0007" << 4321 << RefusalLine(Refusal{RefusalReason::WrongCode, {}, {}});
    QTest::newRow("other version") << "1.00.0009" << 1234 << RefusalLine(other);
}

void FakeNetworkTest::aJoinOverALossyNetwork()
{
    QFETCH(QString, version);
    QFETCH(int, code);
    QFETCH(QString, answer);
    // 100 ms round trips in 10 ms steps, 2 % loss: the hello and its answer
    // go reliably, so they arrive all the same.
    FakeNetwork network(5, Conditions{4, 6, 2});
    FakeEndpoint& host = network.AddEndpoint();
    FakeEndpoint& guest = network.AddEndpoint();
    const PeerId hostOnGuest = network.Connect(guest, host);
    QVERIFY(guest.Send(hostOnGuest, Channel::Reliable, Encode(Hello{version, std::uint16_t(code), QStringLiteral("Eva"), 2, false})));

    Seats seats(true);
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
    if (const Welcome* welcome = std::get_if<Welcome>(&*reply)) {
        QCOMPARE(QStringLiteral("welcome"), answer);
        QCOMPARE(welcome->seats, SeatSet(0b000110)); // players 2 and 3
    } else {
        QVERIFY(std::holds_alternative<Refusal>(*reply));
        QCOMPARE(RefusalLine(std::get<Refusal>(*reply)), answer);
    }
}

QTEST_APPLESS_MAIN(FakeNetworkTest)
#include "tst_fake_network.moc"
