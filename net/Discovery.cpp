#include "Discovery.h"

#include <algorithm>

namespace net {

namespace {

// Whole letters only, so the name stays valid UTF-8.
QString CutToBytes(QString text, qsizetype maxBytes)
{
    while (text.toUtf8().size() > maxBytes)
        text.chop(1);
    return text;
}

} // namespace

DiscoveryAnswer AnswerFor(const QString& hostName, std::uint16_t port, const QString& version,
                          const SeatMap& seats, int guests)
{
    DiscoveryAnswer answer{CutToBytes(hostName, MaxHostNameBytes), 0, 0, port, version};
    for (int player = 1; player <= PlayerCount; ++player) {
        if (seats.owners[player - 1] != NoComputer)
            ++answer.players;
        else if (guests < MaxGuests)
            ++answer.freeSeats;
    }
    return answer;
}

bool AskerLimit::Allow(quint32 asker, qint64 nowMs)
{
    const auto expired = [nowMs](const Window& window) { return nowMs - window.startMs >= 1000; };
    auto found = askers.find(asker);
    if (found != askers.end() && !expired(*found)) {
        if (found->answers >= AnswersPerSecond)
            return false;
        ++found->answers;
        return true;
    }
    if (found == askers.end() && askers.size() >= MaxAskers) {
        askers.removeIf([&](const auto& entry) { return expired(entry.value()); });
        if (askers.size() >= MaxAskers)
            return false;
    }
    askers.insert(asker, Window{nowMs, 1});
    return true;
}

void GamesFound::Heard(const QHostAddress& address, const DiscoveryAnswer& answer, qint64 nowMs)
{
    for (FoundGame& game : games) {
        if (game.address == address && game.answer.port == answer.port) {
            game.answer = answer;
            game.heardMs = nowMs;
            return;
        }
    }
    Now(nowMs);
    if (games.size() < MaxGames)
        games.append(FoundGame{address, answer, nowMs});
}

QList<FoundGame> GamesFound::Now(qint64 nowMs)
{
    games.removeIf([nowMs](const FoundGame& game) { return nowMs - game.heardMs > ForgetAfterMs; });
    std::sort(games.begin(), games.end(), [](const FoundGame& a, const FoundGame& b) {
        if (a.answer.hostName != b.answer.hostName)
            return a.answer.hostName < b.answer.hostName;
        if (a.address != b.address)
            return a.address.toIPv4Address() < b.address.toIPv4Address();
        return a.answer.port < b.answer.port;
    });
    return games;
}

} // namespace net
