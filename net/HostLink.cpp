#include "HostLink.h"

#include "FieldHash.h"
#include "Repair.h"
#include "Timing.h"

#include <QElapsedTimer>

namespace net {

HostLink::HostLink(Transport& transport, HostFacts facts, bool hostPlaysAlone)
    : transport(transport)
    , facts(std::move(facts))
    , seats(hostPlaysAlone)
{
    QElapsedTimer started;
    started.start();
    clock = [started] { return started.elapsed(); };
}

void HostLink::Serve(const QImage& field)
{
    while (const std::optional<TransportEvent> event = transport.Poll()) {
        switch (event->kind) {
        case TransportEvent::Kind::Connected:
            // Nothing goes to it before its hello is answered.
            break;
        case TransportEvent::Kind::Received:
            Received(event->peer, event->data, field);
            break;
        case TransportEvent::Kind::Disconnected:
            Leave(event->peer, true);
            break;
        }
    }
}

void HostLink::Received(PeerId peer, const QByteArray& data, const QImage& field)
{
    const std::optional<Message> message = Decode(data);
    if (!message)
        return;
    const auto computer = computers.constFind(peer);
    if (computer == computers.cend()) {
        if (const auto* hello = std::get_if<Hello>(&*message))
            Admit(peer, *hello);
        return;
    }
    if (const auto* input = std::get_if<Input>(&*message)) {
        if (gate.Accept(*computer, *input)) {
            keys[input->player - 1] = {input->left, input->right};
            Keys& over = heldOver[input->player - 1];
            over = {over.left && input->left, over.right && input->right};
            NoteTiming("host-input", input->player);
        }
    } else if (std::holds_alternative<RepairRequest>(*message)) {
        Repair(peer, *computer, field);
    } else if (const auto* resend = std::get_if<ResendRequest>(&*message)) {
        Resend(peer, *computer, resend->from, field);
    } else if (std::holds_alternative<NextRound>(*message)) {
        if (nextRound)
            nextRound();
    } else if (const auto* goodbye = std::get_if<Goodbye>(&*message);
               goodbye && goodbye->reason == GoodbyeReason::GuestLeaves) {
        transport.Disconnect(peer);
        Leave(peer, false);
    }
}

void HostLink::Repair(PeerId peer, ComputerId computer, const QImage& field)
{
    if (repaired.contains(computer))
        return;
    repaired.insert(computer);
    // The image as it is after the stream's last tick, numbered so: the
    // joined computer goes on from the tick after, in which the trails
    // start afresh, as it cannot know them.
    ++repairsSent;
    for (const RepairChunk& chunk : SplitRepair(field, stream.Last()))
        transport.Send(peer, Channel::Reliable, Encode(chunk));
    if (restarts)
        restarts();
}

void HostLink::Resend(PeerId peer, ComputerId computer, std::uint32_t from, const QImage& field)
{
    constexpr int ResendsPerCheck = 4;
    int& count = resent[computer];
    if (count >= ResendsPerCheck)
        return;
    ++count;
    const QList<TickBatch> batches = stream.Resend(from);
    // Lost too long ago (or asked for what never was): the whole field.
    if (batches.isEmpty()) {
        Repair(peer, computer, field);
        return;
    }
    for (const TickBatch& batch : batches)
        transport.Send(peer, Channel::Reliable, Encode(batch));
}

void HostLink::Admit(PeerId peer, const Hello& hello)
{
    const SeatSet back = hello.watch ? SeatSet(0) : KeptFor(hello.name);
    const std::variant<Welcome, Refusal> answer = net::Admit(hello, facts, seats, back);
    if (const auto* refusal = std::get_if<Refusal>(&answer)) {
        // The joining computer ends the connection once it has read why.
        transport.Send(peer, Channel::Reliable, Encode(*refusal));
        return;
    }
    const Welcome& welcome = std::get<Welcome>(answer);
    dropped.removeIf([&hello](const Dropped& gone) { return gone.name == hello.name; });
    computers.insert(peer, welcome.computer);
    NoteTiming("host-computer-joined", welcome.computer);
    names.insert(welcome.computer, hello.name);
    transport.Send(peer, Channel::Reliable, Encode(welcome));
    // A match under way: its scoreboard now, its field at the first check.
    if (players)
        transport.Send(peer, Channel::Reliable, Encode(*players));
    if (joined)
        joined(welcome.seats, hello.name);
    if (restarts)
        restarts();
    SeatsChanged();
}

SeatSet HostLink::KeptFor(const QString& name)
{
    const qint64 now = clock();
    dropped.removeIf([now](const Dropped& gone) { return now - gone.atMs > RejoinMs; });
    for (const Dropped& gone : std::as_const(dropped)) {
        if (gone.name == name)
            return gone.seats;
    }
    return 0;
}

void HostLink::Unkeep(int player)
{
    for (Dropped& gone : dropped)
        gone.seats &= SeatSet(~(1u << (player - 1)));
}

void HostLink::Leave(PeerId peer, bool lost)
{
    const auto computer = computers.constFind(peer);
    if (computer == computers.cend())
        return;
    // A lost connection, not a goodbye: its players wait a while for it
    // under its name, the one thing a computer that comes back shares with
    // the one that went.
    const QString name = names.value(*computer);
    if (lost && !name.isEmpty() && seats.SeatsOf(*computer) != 0) {
        dropped.removeIf([&name](const Dropped& gone) { return gone.name == name; });
        if (dropped.size() >= MaxGuests)
            dropped.removeFirst();
        dropped.append({name, seats.SeatsOf(*computer), clock()});
    }
    // Its players ride on straight ahead, steered by the host from now on.
    for (int player = 1; player <= PlayerCount; ++player) {
        if (seats.Owner(player) == *computer)
            LetGo(player);
    }
    NoteTiming("host-computer-left", *computer);
    seats.Leave(*computer);
    gate.Forget(*computer);
    names.remove(*computer);
    repaired.remove(*computer);
    resent.remove(*computer);
    computers.remove(peer);
    SeatsChanged();
}

void HostLink::SendTick(const QList<Tick>& parts, bool streamPauses)
{
    if (!parts.isEmpty())
        NoteTiming("host-tick", parts.constFirst().tick);
    stream.Add(parts);
    // The last datagram before a pause is carried by none after it, so it
    // goes where it cannot be lost.
    const Channel channel = streamPauses ? Channel::Reliable : Channel::Unreliable;
    for (const TickBatch& batch : stream.TakeDue(streamPauses))
        SendToAll(batch, channel);
}

void HostLink::SendHashCheck(const QImage& field, const ShownRecords& records)
{
    repaired.clear();
    resent.clear();
    SendToAll(HashCheck{stream.Last(), FieldHash(field, records), records});
}

void HostLink::KeepForHost(int player)
{
    if (seats.Owner(player) != NoComputer || !seats.Move(player, HostComputer))
        return;
    SeatsChanged();
}

void HostLink::FreeSeat(int player)
{
    if (seats.Owner(player) == NoComputer)
        return;
    LetGo(player);
    Unkeep(player);
    seats.Free(player);
    SeatsChanged();
}

bool HostLink::MoveSeat(int player, ComputerId to)
{
    // Only a player in the match: a free one joins it by its box.
    const ComputerId from = seats.Owner(player);
    if (from == NoComputer || from == to || !seats.Move(player, to))
        return false;
    Unkeep(player);
    // The new owner's keys are its own, not what the last one held.
    LetGo(player);
    SeatsChanged();
    return true;
}

void HostLink::SeatsChanged()
{
    SendToAll(seats.Map());
    if (computersChanged)
        computersChanged();
}

void HostLink::ReleaseKeys()
{
    // What arrives from now on still says held until the key is let go:
    // the computer repeats its keys, and a late packet may be on its way.
    heldOver = keys;
}

void HostLink::LetGo(int player)
{
    keys[player - 1] = {};
    heldOver[player - 1] = {};
}

void HostLink::SendPlayers(const QStringList& names)
{
    players = Players{names};
    SendToAll(*players);
}

void HostLink::SayGoodbye()
{
    SendToAll(Goodbye{GoodbyeReason::HostEndedMatch});
}

void HostLink::SendToAll(const Message& message, Channel channel)
{
    const QByteArray bytes = Encode(message);
    if (bytes.isEmpty())
        return;
    for (auto computer = computers.cbegin(); computer != computers.cend(); ++computer)
        transport.Send(computer.key(), channel, bytes);
}

QList<HostLink::Computer> HostLink::ComputersWhere(bool watchers) const
{
    QList<Computer> joinedNow;
    for (auto name = names.cbegin(); name != names.cend(); ++name) {
        if (Seats::IsWatcher(name.key()) == watchers)
            joinedNow.append({name.key(), name.value()});
    }
    return joinedNow;
}

QList<HostLink::Computer> HostLink::Computers() const
{
    return ComputersWhere(false);
}

QList<HostLink::Computer> HostLink::Watchers() const
{
    return ComputersWhere(true);
}

bool HostLink::SteeredRemotely(int slot) const
{
    const ComputerId owner = seats.Owner(slot + 1);
    return owner != HostComputer && owner != NoComputer;
}

bool HostLink::Asks(int slot, bool left) const
{
    if (slot < 0 || slot >= PlayerCount || !SteeredRemotely(slot))
        return false;
    return left ? keys[slot].left && !heldOver[slot].left : keys[slot].right && !heldOver[slot].right;
}

} // namespace net
