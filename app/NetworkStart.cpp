#include "NetworkStart.h"

#include "DiscoverySockets.h"
#include "HostLink.h"

#include <QDeadlineTimer>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QThread>

QList<QHostAddress> ResolveIPv4(const QString& name)
{
    QHostAddress address;
    if (address.setAddress(name))
        return address.protocol() == QAbstractSocket::IPv4Protocol ? QList{address} : QList<QHostAddress>{};
    QList<QHostAddress> found;
    for (const QHostAddress& each : QHostInfo::fromName(name).addresses()) {
        if (each.protocol() == QAbstractSocket::IPv4Protocol && !found.contains(each))
            found << each;
    }
    return found;
}

std::optional<net::PeerId> ConnectToAny(const QList<QHostAddress>& addresses, quint16 port,
                                        std::unique_ptr<net::EnetTransport>& transport, int waitMs,
                                        const std::function<void()>& whileWaiting)
{
    for (const QHostAddress& address : addresses) {
        transport = net::EnetTransport::Connect(address, port);
        const QDeadlineTimer deadline(waitMs);
        while (transport && !deadline.hasExpired()) {
            while (const std::optional<net::TransportEvent> event = transport->Poll()) {
                if (event->kind == net::TransportEvent::Kind::Connected)
                    return event->peer;
                if (event->kind == net::TransportEvent::Kind::Disconnected) {
                    transport.reset(); // this address refused: the next one
                    break;
                }
            }
            if (whileWaiting)
                whileWaiting();
            QThread::msleep(5);
        }
    }
    transport.reset();
    return std::nullopt;
}

std::optional<net::PeerId> ConnectToHost(const NetworkOptions& options,
                                         std::unique_ptr<net::EnetTransport>& transport,
                                         const std::function<void()>& whileWaiting)
{
    return ConnectToAny(ResolveIPv4(options.host), options.port, transport, ConnectWaitMs, whileWaiting);
}

net::Hello HelloFor(const NetworkOptions& options)
{
    return net::Hello{QStringLiteral(KLIKVAR_VERSION), options.code, options.name, std::uint8_t(options.players),
                      options.watch};
}

QString BadNameLine()
{
    return QStringLiteral("Jméno nejde použít: nejvýš 8 znaků, bez řídicích znaků.");
}

QString NoAnswerLine(const NetworkOptions& options)
{
    return QStringLiteral("Hostitel %1 na portu %2 neodpovídá.").arg(options.host).arg(options.port);
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

QStringList WatcherNames(const net::HostLink& link)
{
    QStringList watchers;
    // Names alone: eight of them share a line or two.
    for (const net::HostLink::Computer& computer : link.Watchers())
        watchers << (computer.name.isEmpty() ? QStringLiteral("Počítač %1").arg(computer.id) : computer.name);
    return watchers;
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
    // The host, then the joined computers by their numbers, and round
    // again; never a watcher, which asked to steer nobody.
    const net::ComputerId owner = link.SeatsNow().Owner(player);
    for (const net::HostLink::Computer& computer : link.Computers()) {
        if (owner == net::HostComputer || computer.id > owner)
            return computer.id;
    }
    return net::HostComputer;
}

std::unique_ptr<net::DiscoveryResponder> AnswerDiscovery(const net::HostLink& link, quint16 port)
{
    auto responder = std::make_unique<net::DiscoveryResponder>([&link, port] {
        return net::AnswerFor(QHostInfo::localHostName(), port, QStringLiteral(KLIKVAR_VERSION),
                              link.SeatsNow().Map(), int(link.Computers().size()));
    });
    if (!responder->Listen())
        return nullptr;
    return responder;
}
