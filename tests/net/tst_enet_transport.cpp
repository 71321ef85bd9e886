#include "EnetTransport.h"
#include "Packet.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QtTest>

#include <enet/enet.h>

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
    void dropsIncomingPacketsOverTheBound_data();
    void dropsIncomingPacketsOverTheBound();
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
    const QByteArray tick = Encode(TickBatch{{Tick{5, {ClearPlayfield{}}}}});
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

    // What no packet may be is not even queued.
    QVERIFY(!host->Send(*guestOnHost, Channel::Unreliable, QByteArray(MaxDatagram + 1, 'x')));
    QVERIFY(!host->Send(*guestOnHost, Channel::Reliable, QByteArray(MaxPacket + 1, 'x')));
    QVERIFY(!host->Send(*guestOnHost, Channel::Reliable, QByteArray()));
    QVERIFY(!host->Send(*guestOnHost + 1, Channel::Reliable, hello));
    QVERIFY(host->Send(*guestOnHost, Channel::Reliable, QByteArray(MaxPacket, 'x')));
    // Only IPv4, as Debian's ENet.
    QVERIFY(!EnetTransport::Listen(QHostAddress::LocalHostIPv6, 0, 1));

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

void EnetTransportTest::dropsIncomingPacketsOverTheBound_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("arrives");
    QTest::newRow("the largest packet") << int(MaxPacket) << true;
    QTest::newRow("a byte more") << int(MaxPacket + 1) << false;
    QTest::newRow("a megabyte") << (1 << 20) << false;
}

void EnetTransportTest::dropsIncomingPacketsOverTheBound()
{
    QFETCH(int, size);
    QFETCH(bool, arrives);
    const std::unique_ptr<EnetTransport> host = EnetTransport::Listen(Loopback, 0, 1);
    QVERIFY(host);
    // A program of anybody's, with ENet's own generous limits, sends in
    // unreliable fragments, which nobody acknowledges or sends again.
    ENetHost* stranger = enet_host_create(nullptr, 1, ChannelCount, 0, 0);
    QVERIFY(stranger);
    const auto destroy = qScopeGuard([stranger] { enet_host_destroy(stranger); });
    ENetAddress address{};
    QCOMPARE(enet_address_set_host_ip(&address, "127.0.0.1"), 0);
    address.port = host->Port();
    ENetPeer* peer = enet_host_connect(stranger, &address, ChannelCount, 0);
    QVERIFY(peer);
    const auto send = [&](int bytes) {
        ENetPacket* packet = enet_packet_create(QByteArray(bytes, 'x').constData(), size_t(bytes), ENET_PACKET_FLAG_UNRELIABLE_FRAGMENT);
        enet_peer_send(peer, quint8(Channel::Unreliable), packet);
        enet_host_flush(stranger);
    };

    bool connected = false;
    QList<qsizetype> sizes;
    QDeadlineTimer deadline(10000);
    const auto pollUntil = [&](const std::function<bool()>& done, const std::function<void()>& meanwhile) {
        while (!done() && !deadline.hasExpired()) {
            ENetEvent event;
            while (enet_host_service(stranger, &event, 0) > 0)
                connected = connected || event.type == ENET_EVENT_TYPE_CONNECT;
            while (std::optional<TransportEvent> received = host->Poll()) {
                if (received->kind == TransportEvent::Kind::Received)
                    sizes.append(received->data.size());
            }
            meanwhile();
            QThread::msleep(1);
        }
        return done();
    };
    QVERIFY(pollUntil([&] { return connected; }, [] {}));
    if (arrives) {
        // Sent again until it arrives: an unreliable packet may be lost.
        QVERIFY(pollUntil([&] { return !sizes.isEmpty(); }, [&] { send(size); }));
        QCOMPARE(sizes.first(), qsizetype(size));
    } else {
        // Sent once, then a small one again and again: the channel keeps
        // their order, so the large one would have come first.
        send(size);
        QVERIFY(pollUntil([&] { return sizes.contains(1); }, [&] { send(1); }));
        QVERIFY(!sizes.contains(size));
    }
}

QTEST_APPLESS_MAIN(EnetTransportTest)
#include "tst_enet_transport.moc"
