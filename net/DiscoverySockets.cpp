#include "DiscoverySockets.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>

namespace net {

namespace {

// One byte past the largest message read, so a larger datagram is cut and
// then refused rather than read whole.
constexpr qint64 ReadAtMost = DiscoveryRequestSize + 1;

std::optional<Message> Received(const QNetworkDatagram& datagram)
{
    if (!datagram.isValid() || datagram.senderPort() <= 0
        || datagram.senderAddress().protocol() != QAbstractSocket::IPv4Protocol)
        return std::nullopt;
    return Decode(datagram.data());
}

} // namespace

DiscoveryResponder::DiscoveryResponder(std::function<DiscoveryAnswer()> answer) : answer(std::move(answer))
{
    clock.start();
    QObject::connect(&socket, &QUdpSocket::readyRead, [this] { Read(); });
}

bool DiscoveryResponder::Listen(const QHostAddress& on, std::uint16_t port)
{
    // Shared, so that two games hosted on one computer both hear a broadcast.
    return socket.bind(on, port, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
}

void DiscoveryResponder::Read()
{
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket.receiveDatagram(ReadAtMost);
        const std::optional<Message> message = Received(datagram);
        if (!message || !std::holds_alternative<DiscoveryRequest>(*message))
            continue;
        if (!limit.Allow(datagram.senderAddress().toIPv4Address(), clock.elapsed()))
            continue;
        const QByteArray bytes = Encode(answer());
        if (!bytes.isEmpty() && socket.writeDatagram(bytes, datagram.senderAddress(), quint16(datagram.senderPort())) > 0)
            ++answersSent;
    }
}

QList<QHostAddress> DiscoveryTargets()
{
    QList<QHostAddress> targets;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (!interface.flags().testFlags(QNetworkInterface::IsUp | QNetworkInterface::CanBroadcast))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.broadcast().isNull()
                && !targets.contains(entry.broadcast()))
                targets << entry.broadcast();
        }
    }
    // A broadcast reaches this computer's own games too, under its LAN
    // address; without any, they are still found on the loopback.
    if (targets.isEmpty())
        targets << QHostAddress(QHostAddress::LocalHost);
    return targets;
}

DiscoverySearch::DiscoverySearch(QList<QHostAddress> targets, std::uint16_t port)
    : targets(std::move(targets))
    , port(port)
{
    clock.start();
    socket.bind(QHostAddress::AnyIPv4, 0);
    QObject::connect(&socket, &QUdpSocket::readyRead, [this] { Read(); });
}

void DiscoverySearch::Ask()
{
    const QByteArray request = Encode(DiscoveryRequest{});
    for (const QHostAddress& target : targets)
        socket.writeDatagram(request, target, port);
}

QList<FoundGame> DiscoverySearch::Games()
{
    return found.Now(clock.elapsed());
}

void DiscoverySearch::Read()
{
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket.receiveDatagram(ReadAtMost);
        const std::optional<Message> message = Received(datagram);
        if (const auto* answer = message ? std::get_if<DiscoveryAnswer>(&*message) : nullptr)
            found.Heard(datagram.senderAddress(), *answer, clock.elapsed());
    }
}

} // namespace net
