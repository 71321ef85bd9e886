#pragma once

#include "Packet.h"
#include "Repair.h"
#include "TickQueue.h"
#include "TrailEnds.h"
#include "Transport.h"

#include <functional>

class Playfield;
class Screens;

namespace net {

// A joined computer's side of a match: says hello, then draws on its own
// playfield and shows on its screens what the host's tick drew and showed,
// checks its field against the host's hash and asks for a repair when they
// differ, and sends the turn keys of its seats. It runs no rules.
class GuestLink
{
public:
    enum class State { Joining, Playing, Refused, HostEnded, HostGone, Left };

    // winners: the winner window with these rows, as the host shows it.
    GuestLink(Transport& transport, PeerId host, Playfield& field, Screens& screens,
              std::function<void(const QList<WinnerRow>&)> winners);

    void SayHello(const Hello& hello);
    // Handles everything that arrived from the host.
    void Serve();
    // The turn keys of this computer's seat-th seat (0 for its first).
    void SetKeys(int seat, bool left, bool right);
    // Sends the keys of every seat again, for one the network lost.
    void RepeatKeys();
    // A new match: its players' names, in slot order.
    void OnPlayers(std::function<void(const QStringList&)> shown) { players = std::move(shown); }
    // A new round has begun on the host: the keys held into it turn only
    // from their next press there.
    void OnRoundStarts(std::function<void()> started) { roundStarts = std::move(started); }
    // The host moved a player to or from this computer: Seats() changed, and
    // with it which keys steer whom.
    void OnSeatsChanged(std::function<void()> changed) { seatsChanged = std::move(changed); }
    // Space: the next round, if one waits on the host.
    void AskForNextRound();
    // Esc: this computer leaves the match.
    void Leave();

    State StateNow() const { return state; }
    const Refusal& Refused() const { return refusal; }
    // Players 1..6 this computer steers, as the latest seat map says.
    SeatSet Seats() const { return welcome.seats; }
    int Mismatches() const { return mismatches; }
    int RepairsApplied() const { return repairsApplied; }
    int ResendsAsked() const { return resendsAsked; }

private:
    void Received(const QByteArray& data);
    void Follow(const SeatMap& map);
    void Show(const Event& event);
    void ShowBanner(bool visible);
    void Check(const HashCheck& check);
    // Replays what has come in order, and asks again for what was lost.
    void Replay();
    void CheckWhenReplayed();
    void Restored(std::uint32_t tick, const QImage& image);
    void AskForRepair(std::uint32_t tick);
    void SendKeys(int player);

    struct Keys
    {
        bool left = false;
        bool right = false;
    };

    Transport& transport;
    PeerId host;
    Playfield& field;
    Screens& screens;
    std::function<void(const QList<WinnerRow>&)> winners;
    std::function<void(const QStringList&)> players;
    std::function<void()> roundStarts;
    std::function<void()> seatsChanged;
    State state = State::Joining;
    Welcome welcome{1, 0};
    Refusal refusal;
    RepairAssembler repair;
    TickQueue queue;
    TrailEnds trails;
    // A check for a tick not yet replayed waits for it.
    std::optional<HashCheck> heldCheck;
    std::optional<std::uint32_t> askedFrom;
    // While a repair is asked for, the ticks wait: the image comes as of a
    // tick no older than the last replayed.
    bool awaitingRepair = false;
    std::array<Keys, PlayerCount> keys{};
    std::uint32_t sequence = 0;
    int mismatches = 0;
    int repairsApplied = 0;
    int resendsAsked = 0;
};

// Player number (1..6) of a computer's seat-th seat, or 0 when it has none.
int PlayerOfSeat(SeatSet seats, int seat);
// Which of a computer's seats (0 for its first) a player is, or -1.
int SeatOfPlayer(SeatSet seats, int player);

} // namespace net
