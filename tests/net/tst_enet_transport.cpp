#include "EnetTransport.h"
#include "Packet.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QtTest>

#include <functional>

using namespace net;

namespace {

// Polls both ends until the condition holds or the deadline passes; the
// deadline only bounds a broken run, nothing is timed.
bool PollUntil(EnetTransport& a, EnetTransport& b, const std::function<void(const TransportEvent&, bool fromA)>& seen,
    const std::function<bool()>& done)
{
    QDeadlineTimer deadline(10000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        while (std::optional<TransportEvent> event = a.Poll())
            seen(*event, true);
        while (std::optional<TransportEvent> event = b.Poll())
            seen(*event, false);
        QThread::msleep(1);
    }
    return true;
}

const QHostAddress Loopback(QHostAddress::LocalHost);

} // namespace

class EnetTransportTest : public QObject
{
    Q_OBJECT

private slots:
    void twoEndsOnLoopbackExchangePackets();
    void refusesWhatItCannotCarry_data();
    void refusesWhatItCannotCarry();
};

void EnetTransportTest::twoEndsOnLoopbackExchangePackets()
{
    const std::unique_ptr<EnetTransport> host = EnetTransport::Listen(Loopback, 0, MaxGuests);
    QVERIFY(host);
    QVERIFY(host->Port() != 0);
    const std::unique_ptr<EnetTransport> guest = EnetTransport::Connect(Loopback, host->Port());
    QVERIFY(guest);

    std::optional<PeerId> guestOnHost, hostOnGuest;
    QList<TransportEvent> atHost, atGuest;
    const auto seen = [&](const TransportEvent& event, bool atHostSide) {
        if (event.kind == TransportEvent::Kind::Connected)
            (atHostSide ? guestOnHost : hostOnGuest) = event.peer;
        else
            (atHostSide ? atHost : atGuest).append(event);
    };
    QVERIFY(PollUntil(*host, *guest, seen, [&] { return guestOnHost && hostOnGuest; }));

    const QByteArray hello = Encode(Hello{QStringLiteral("1.00.0007"), 1234, QStringLiteral("Eva"), 1, false});
    const QByteArray tick = Encode(Tick{5, {ClearPlayfield{}}});
    QVERIFY(guest->Send(*hostOnGuest, Channel::Reliable, hello));
    // Loopback hardly loses a datagram, but an unreliable one may be lost:
    // it is sent again until one has arrived.
    QVERIFY(PollUntil(*host, *guest, seen, [&] {
        if (atGuest.isEmpty())
            host->Send(*guestOnHost, Channel::Unreliable, tick);
        return !atHost.isEmpty() && !atGuest.isEmpty();
    }));
    QCOMPARE(atHost.first().kind, TransportEvent::Kind::Received);
    QCOMPARE(atHost.first().peer, *guestOnHost);
    QCOMPARE(atHost.first().channel, Channel::Reliable);
    QCOMPARE(atHost.first().data, hello);
    QCOMPARE(atGuest.first().channel, Channel::Unreliable);
    QCOMPARE(atGuest.first().data, tick);

    // Leaving is heard on the other side, and its id is gone from then on.
    guest->Disconnect(*hostOnGuest);
    const auto left = [&] {
        return std::any_of(atHost.begin(), atHost.end(), [](const TransportEvent& event) {
            return event.kind == TransportEvent::Kind::Disconnected;
        });
    };
    QVERIFY(PollUntil(*host, *guest, seen, left));
    QVERIFY(!host->Send(*guestOnHost, Channel::Reliable, hello));
}

void EnetTransportTest::refusesWhatItCannotCarry_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("channel");
    QTest::addColumn<bool>("sent");
    QTest::newRow("a datagram, unreliable") << int(MaxDatagram) << int(Channel::Unreliable) << true;
    QTest::newRow("over a datagram, unreliable") << int(MaxDatagram + 1) << int(Channel::Unreliable) << false;
    QTest::newRow("a repair chunk, reliable") << int(MaxPacket) << int(Channel::Reliable) << true;
    QTest::newRow("over any packet, reliable") << int(MaxPacket + 1) << int(Channel::Reliable) << false;
    QTest::newRow("nothing") << 0 << int(Channel::Reliable) << false;
}

void EnetTransportTest::refusesWhatItCannotCarry()
{
    QFETCH(int, size);
    QFETCH(int, channel);
    QFETCH(bool, sent);
    // Only IPv4, as Debian's ENet; only a known peer.
    QVERIFY(!EnetTransport::Listen(QHostAddress::LocalHostIPv6, 0, 1));
    const std::unique_ptr<EnetTransport> host = EnetTransport::Listen(Loopback, 0, 1);
    QVERIFY(host);
    const std::unique_ptr<EnetTransport> guest = EnetTransport::Connect(Loopback, host->Port());
    QVERIFY(guest);
    std::optional<PeerId> hostOnGuest;
    QVERIFY(PollUntil(*host, *guest, [&](const TransportEvent& event, bool atHost) {
        if (!atHost && event.kind == TransportEvent::Kind::Connected)
            hostOnGuest = event.peer;
    }, [&] { return hostOnGuest.has_value(); }));
    QCOMPARE(guest->Send(*hostOnGuest, Channel(channel), QByteArray(size, 'x')), sent);
    QVERIFY(!guest->Send(*hostOnGuest + 1, Channel(channel), QByteArray(1, 'x')));
}

QTEST_APPLESS_MAIN(EnetTransportTest)
#include "tst_enet_transport.moc"
