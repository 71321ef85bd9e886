#pragma once

#include "Admission.h"
#include "InputGate.h"
#include "Packet.h"
#include "Seats.h"
#include "TickStream.h"
#include "Transport.h"

#include <QImage>
#include <QMap>
#include <QSet>

#include <array>
#include <functional>
#include <optional>

namespace net {

// The host's side of a match: admits joining computers, streams each tick
// and the hash checks to them, repairs their fields on request and keeps the
// turn keys they send for the seats they own. Everything received is
// untrusted: what does not decode, or is not this computer's to say, is
// dropped.
class HostLink
{
public:
    // How long a computer whose connection dropped may come back, by the
    // same name, to the players it steered.
    static constexpr qint64 RejoinMs = 30000;

    HostLink(Transport& transport, HostFacts facts, bool hostPlaysAlone);

    // Handles everything that arrived. field: the playfield as it is now,
    // after the ticks sent so far, for a repair.
    void Serve(const QImage& field);
    // The number the next tick with something in it gets in the stream.
    std::uint32_t NextTick() const { return stream.Next(); }
    // One tick's parts, to every admitted computer as they fall due; all
    // that waits goes out at once when the stream pauses (a tick that drew
    // and showed nothing, or the end of a match).
    void SendTick(const QList<Tick>& parts, bool streamPauses);
    // What a joined computer checks its own field and records against, as
    // they are after the stream's last tick.
    void SendHashCheck(const QImage& field, const ShownRecords& records);
    // What a joined computer knows of the stream's trails no longer counts
    // (one joined, or had its field replaced).
    void OnStreamRestarts(std::function<void()> restart) { restarts = std::move(restart); }
    // A player the host's own keyboard takes part with: no joining
    // computer is seated on it.
    void KeepForHost(int player);
    // The host took the player out of the match: a computer that joins
    // later may take it, and one that steered it stays, steering the rest.
    void FreeSeat(int player);
    // The host hands a player in the match to a joined computer or takes
    // it back (HostComputer); every computer is sent the new seat map.
    bool MoveSeat(int player, ComputerId to);
    // A new round or match: every joined computer's turn keys count as let
    // go. One still held down there turns again only from its next press,
    // as a key held on the host's own keyboard does.
    void ReleaseKeys();
    // A new match's players, to every computer and to each that joins
    // later.
    void SendPlayers(const QStringList& names);
    // A computer was seated on these players; name: for its first.
    void OnJoined(std::function<void(SeatSet, const QString& name)> joined) { this->joined = std::move(joined); }
    // Whenever a computer joins or leaves, or the players it steers change.
    void OnComputersChanged(std::function<void()> changed) { computersChanged = std::move(changed); }
    // What Space on a joined computer does.
    void OnNextRound(std::function<void()> nextRound) { this->nextRound = std::move(nextRound); }
    // The host ends the match for everyone.
    void SayGoodbye();
    // Milliseconds from any fixed start, never going back; a monotonic
    // clock unless replaced.
    void UseClock(std::function<qint64()> now) { clock = std::move(now); }

    // Whether player slot (0-based) is steered from a joined computer, and
    // the turn key it holds down for it.
    bool SteeredRemotely(int slot) const;
    bool Asks(int slot, bool left) const;

    const Seats& SeatsNow() const { return seats; }
    struct Computer
    {
        ComputerId id = 0;
        QString name;
    };
    // The joined computers that may steer players, in the order of their
    // numbers, and those that watch.
    QList<Computer> Computers() const;
    QList<Computer> Watchers() const;
    int Guests() const { return int(computers.size()); }
    int RepairsSent() const { return repairsSent; }

private:
    void Received(PeerId peer, const QByteArray& data, const QImage& field);
    void Admit(PeerId peer, const Hello& hello);
    // lost: its connection dropped, without a goodbye.
    void Leave(PeerId peer, bool lost);
    // The players a computer of this name steered when its connection
    // dropped, if that was lately.
    SeatSet KeptFor(const QString& name);
    // The host handed the player on: no computer comes back to it.
    void Unkeep(int player);
    QList<Computer> ComputersWhere(bool watchers) const;
    void SendToAll(const Message& message, Channel channel = Channel::Reliable);
    void Repair(PeerId peer, ComputerId computer, const QImage& field);
    void Resend(PeerId peer, ComputerId computer, std::uint32_t from, const QImage& field);
    void LetGo(int player);
    // Every computer learns who steers whom now, and so does the host window.
    void SeatsChanged();

    struct Keys
    {
        bool left = false;
        bool right = false;
    };

    Transport& transport;
    HostFacts facts;
    Seats seats;
    InputGate gate{seats};
    QMap<PeerId, ComputerId> computers; // admitted ones only
    QMap<ComputerId, QString> names;
    // Who has had its repair since the last hash check: one each, so a
    // computer that keeps asking cannot keep the host compressing images.
    QSet<ComputerId> repaired;
    // Resends since the last hash check, a few each, for the same reason.
    QMap<ComputerId, int> resent;
    TickStream stream;
    std::function<void()> restarts;
    std::array<Keys, PlayerCount> keys{};
    // Held when the round began and not let go since: no turn.
    std::array<Keys, PlayerCount> heldOver{};
    int repairsSent = 0;
    std::optional<Players> players;
    std::function<void()> nextRound;
    std::function<void(SeatSet, const QString&)> joined;
    std::function<void()> computersChanged;
    std::function<qint64()> clock;
    struct Dropped
    {
        QString name;
        SeatSet seats = 0;
        qint64 atMs = 0;
    };
    QList<Dropped> dropped; // oldest first, at most MaxGuests
};

} // namespace net
