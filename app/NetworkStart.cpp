#include "NetworkStart.h"

#include "HostLink.h"

#include <QDeadlineTimer>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QThread>

namespace {

// ENet speaks IPv4 only.
std::optional<QHostAddress> Resolve(const QString& name)
{
    QHostAddress address;
    if (address.setAddress(name))
        return address.protocol() == QAbstractSocket::IPv4Protocol ? std::optional(address) : std::nullopt;
    for (const QHostAddress& found : QHostInfo::fromName(name).addresses()) {
        if (found.protocol() == QAbstractSocket::IPv4Protocol)
            return found;
    }
    return std::nullopt;
}

} // namespace

std::optional<net::PeerId> ConnectToHost(const NetworkOptions& options,
                                         std::unique_ptr<net::EnetTransport>& transport)
{
    const std::optional<QHostAddress> address = Resolve(options.host);
    if (!address)
        return std::nullopt;
    transport = net::EnetTransport::Connect(*address, options.port);
    if (!transport)
        return std::nullopt;
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        while (const std::optional<net::TransportEvent> event = transport->Poll()) {
            if (event->kind == net::TransportEvent::Kind::Connected)
                return event->peer;
            if (event->kind == net::TransportEvent::Kind::Disconnected)
                return std::nullopt;
        }
        QThread::msleep(5);
    }
    return std::nullopt;
}

std::uint16_t NewJoinCode()
{
    return std::uint16_t(QRandomGenerator::system()->bounded(10000));
}

QString HostAddresses()
{
    QStringList addresses;
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            addresses << address.toString();
    }
    if (addresses.isEmpty())
        addresses << QStringLiteral("127.0.0.1");
    return addresses.join(QStringLiteral(", "));
}

QString HostLine(quint16 port, std::uint16_t code)
{
    return QStringLiteral("Klikvar hostí hru: adresa %1, port %2, kód %3")
        .arg(HostAddresses())
        .arg(port)
        .arg(code, 4, 10, QLatin1Char('0'));
}

namespace {

QString ComputerName(const net::HostLink::Computer& computer)
{
    return computer.name.isEmpty() ? QStringLiteral("Počítač %1").arg(computer.id)
                                   : QStringLiteral("Počítač %1 (%2)").arg(computer.id).arg(computer.name);
}

} // namespace

QStringList ComputerRows(const net::HostLink& link)
{
    QStringList rows;
    for (const net::HostLink::Computer& computer : link.Computers()) {
        QStringList players;
        for (int player = 1; player <= net::PlayerCount; ++player) {
            if (link.SeatsNow().Owner(player) == computer.id)
                players << QString::number(player);
        }
        const QString who = ComputerName(computer);
        rows << (players.isEmpty() ? QStringLiteral("%1: jen se dívá").arg(who)
                                   : QStringLiteral("%1: hráč %2").arg(who, players.join(QStringLiteral(", "))));
    }
    return rows;
}

QStringList OwnerRows(const net::HostLink& link)
{
    QStringList rows;
    for (int player = 1; player <= net::PlayerCount; ++player) {
        const net::ComputerId owner = link.SeatsNow().Owner(player);
        QString who;
        if (owner == net::HostComputer)
            who = QStringLiteral("Tento počítač");
        for (const net::HostLink::Computer& computer : link.Computers()) {
            if (computer.id == owner)
                who = ComputerName(computer);
        }
        rows << (who.isEmpty() ? QString() : QStringLiteral("Hráč %1: %2").arg(player).arg(who));
    }
    return rows;
}

net::ComputerId NextOwner(const net::HostLink& link, int player)
{
    // The host, then the joined computers by their numbers, and round again.
    const net::ComputerId owner = link.SeatsNow().Owner(player);
    for (const net::HostLink::Computer& computer : link.Computers()) {
        if (owner == net::HostComputer || computer.id > owner)
            return computer.id;
    }
    return net::HostComputer;
}
