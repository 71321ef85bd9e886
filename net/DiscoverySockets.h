#pragma once

#include "Discovery.h"

#include <QElapsedTimer>
#include <QUdpSocket>

#include <functional>

namespace net {

// The host's side of LAN discovery: answers every well-formed request on the
// discovery port, within the asker's limit; everything else is dropped.
// Served by the event loop.
class DiscoveryResponder
{
public:
    // answer: what to say at the moment a request comes.
    explicit DiscoveryResponder(std::function<DiscoveryAnswer()> answer);

    bool Listen(const QHostAddress& on = QHostAddress::AnyIPv4, std::uint16_t port = DiscoveryPort);
    std::uint16_t Port() const { return socket.localPort(); }
    int AnswersSent() const { return answersSent; }

private:
    void Read();

    std::function<DiscoveryAnswer()> answer;
    QUdpSocket socket;
    AskerLimit limit;
    QElapsedTimer clock;
    int answersSent = 0;
};

// Where a computer asks: the broadcast address of every IPv4 interface that
// is up and has one; the loopback where none has, so that a game on this
// computer shows all the same.
QList<QHostAddress> DiscoveryTargets();

// A computer looking for games: asks when told to, and keeps what answers.
class DiscoverySearch
{
public:
    explicit DiscoverySearch(QList<QHostAddress> targets = DiscoveryTargets(),
                             std::uint16_t port = DiscoveryPort);

    // One request to each target.
    void Ask();
    QList<FoundGame> Games();

private:
    void Read();

    QList<QHostAddress> targets;
    std::uint16_t port;
    QUdpSocket socket;
    GamesFound found;
    QElapsedTimer clock;
};

} // namespace net
