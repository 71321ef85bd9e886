#pragma once

#include "Packet.h"

#include <QHash>
#include <QHostAddress>
#include <QList>

namespace net {

// LAN discovery's own UDP port, next to the game's default one: a host
// answers on it, whatever port its game is on.
inline constexpr std::uint16_t DiscoveryPort = 24725;

// What a host answers now: its computer's name (cut to what an answer
// carries), its game's port and version, and from the seats how many players
// the match has and how many a joining computer could still take. guests:
// the joined computers that steer players; watchers take no seat.
DiscoveryAnswer AnswerFor(const QString& hostName, std::uint16_t port, const QString& version,
                          const SeatMap& seats, int guests);

// How often the host answers each asker: a few times a second each, and no
// more askers remembered than the table holds, so neither a flood of
// requests nor forged senders make the host send much or keep much.
class AskerLimit
{
public:
    static constexpr int AnswersPerSecond = 4;
    static constexpr int MaxAskers = 256;

    // Whether to answer this asker now; counts the answer if so.
    bool Allow(quint32 asker, qint64 nowMs);

private:
    struct Window
    {
        qint64 startMs = 0;
        int answers = 0;
    };
    QHash<quint32, Window> askers;
};

struct FoundGame
{
    QHostAddress address;
    DiscoveryAnswer answer;
    qint64 heardMs = 0;
};

// The games an asker has heard of: one per address and port, forgotten when
// they stop answering, and no more than a list can show, whoever answers.
class GamesFound
{
public:
    static constexpr int MaxGames = 8;
    static constexpr qint64 ForgetAfterMs = 3500; // three requests unanswered

    void Heard(const QHostAddress& address, const DiscoveryAnswer& answer, qint64 nowMs);
    // The games still answering, by host name and address.
    QList<FoundGame> Now(qint64 nowMs);

private:
    QList<FoundGame> games;
};

} // namespace net
