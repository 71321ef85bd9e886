#include "GuestLink.h"

#include "FieldHash.h"
#include "Playfield.h"
#include "Replay.h"
#include "Screens.h"
#include "Timing.h"

namespace net {

GuestLink::GuestLink(Transport& transport, PeerId host, Playfield& field, Screens& screens,
                     std::function<void(const QList<WinnerRow>&)> winners)
    : transport(transport)
    , host(host)
    , field(field)
    , screens(screens)
    , winners(std::move(winners))
{
}

void GuestLink::SayHello(const Hello& hello)
{
    transport.Send(host, Channel::Reliable, Encode(hello));
}

void GuestLink::Serve()
{
    while (const std::optional<TransportEvent> event = transport.Poll()) {
        if (event->peer != host)
            continue;
        if (event->kind == TransportEvent::Kind::Received) {
            Received(event->data);
        } else if (event->kind == TransportEvent::Kind::Disconnected) {
            if (state == State::Joining || state == State::Playing)
                state = State::HostGone;
        }
    }
}

void GuestLink::Received(const QByteArray& data)
{
    const std::optional<Message> message = Decode(data);
    if (!message)
        return;
    if (state == State::Joining) {
        if (const auto* welcomed = std::get_if<Welcome>(&*message)) {
            welcome = *welcomed;
            state = State::Playing;
        } else if (const auto* refused = std::get_if<Refusal>(&*message)) {
            refusal = *refused;
            state = State::Refused;
            transport.Disconnect(host);
        }
        return;
    }
    if (state != State::Playing)
        return;
    if (const auto* batch = std::get_if<TickBatch>(&*message)) {
        for (const Tick& part : batch->ticks)
            queue.Add(part);
        Replay();
    } else if (const auto* check = std::get_if<HashCheck>(&*message)) {
        // Before any tick came, the field is as of the check's.
        if (!queue.Replayed())
            queue.GoOnAfter(check->tick);
        heldCheck = *check;
        if (awaitingRepair)
            AskForRepair(check->tick); // once a second, while the host has not answered
        // A hole the host did not fill yet is asked for again, as seldom.
        askedFrom.reset();
        Replay();
    } else if (const auto* chunk = std::get_if<RepairChunk>(&*message)) {
        if (const std::optional<QImage> image = repair.Add(*chunk))
            Restored(chunk->tick, *image);
    } else if (const auto* shown = std::get_if<Players>(&*message)) {
        if (players)
            players(shown->names);
    } else if (const auto* map = std::get_if<SeatMap>(&*message)) {
        Follow(*map);
    } else if (const auto* goodbye = std::get_if<Goodbye>(&*message);
               goodbye && goodbye->reason == GoodbyeReason::HostEndedMatch) {
        state = State::HostEnded;
    }
}

void GuestLink::Follow(const SeatMap& map)
{
    // The host may hand a player over, or take one back.
    SeatSet seats = 0;
    for (int player = 1; player <= PlayerCount; ++player) {
        if (map.owners[player - 1] == welcome.computer)
            seats |= SeatSet(1u << (player - 1));
        else
            keys[player - 1] = {}; // the host let go of them; so does this
    }
    if (seats == welcome.seats)
        return;
    welcome.seats = seats;
    if (seatsChanged)
        seatsChanged();
}

void GuestLink::Show(const Event& event)
{
    if (const auto* score = std::get_if<ShowScore>(&event))
        screens.ShowScore(score->slot, score->text);
    else if (const auto* caption = std::get_if<BannerCaption>(&event))
        screens.SetBannerCaption(caption->caption);
    else if (const auto* banner = std::get_if<BannerVisible>(&event))
        ShowBanner(banner->visible);
    else if (const auto* credit = std::get_if<CreditColor>(&event))
        screens.SetCreditColor(credit->color);
    else if (const auto* died = std::get_if<HeadDied>(&event))
        screens.HeadDied(died->slot);
    else if (const auto* shown = std::get_if<Winners>(&event))
        winners(shown->rows);
}

void GuestLink::ShowBanner(bool visible)
{
    screens.SetBannerVisible(visible);
    // The banner goes only as a round starts.
    if (!visible && roundStarts)
        roundStarts();
}

void GuestLink::Replay()
{
    CheckWhenReplayed();
    while (!awaitingRepair) {
        const std::optional<QList<Tick>> parts = queue.TakeNext();
        if (!parts)
            break;
        for (const Tick& part : *parts) {
            if (part.fresh)
                trails.Forget();
            for (const Event& event : part.events) {
                if (!ReplayDrawing(event, field, trails))
                    Show(event);
            }
        }
        NoteTiming("guest-tick", parts->constFirst().tick);
        CheckWhenReplayed();
    }
    const std::optional<std::uint32_t> hole = queue.Hole();
    if (hole && hole != askedFrom && !awaitingRepair) {
        askedFrom = hole;
        ++resendsAsked;
        transport.Send(host, Channel::Reliable, Encode(ResendRequest{*hole}));
    }
}

void GuestLink::CheckWhenReplayed()
{
    if (!heldCheck || !queue.Replayed() || *queue.Replayed() < heldCheck->tick)
        return;
    // One that came too late to compare is left for the next.
    if (*queue.Replayed() == heldCheck->tick)
        Check(*heldCheck);
    heldCheck.reset();
}

void GuestLink::Restored(std::uint32_t tick, const QImage& image)
{
    // An image older than what is replayed would take the field back.
    if (queue.Replayed() && tick < *queue.Replayed())
        return;
    if (!field.Restore(image))
        return;
    ++repairsApplied;
    awaitingRepair = false;
    askedFrom.reset();
    // The image has their drawing; what they showed is shown still.
    for (const Tick& part : queue.GoOnAfter(tick)) {
        for (const Event& event : part.events) {
            if (!Draws(event))
                Show(event);
        }
    }
    // The host starts the trails afresh in the tick after.
    trails.Forget();
    Replay();
}

void GuestLink::AskForRepair(std::uint32_t tick)
{
    awaitingRepair = true;
    transport.Send(host, Channel::Reliable, Encode(RepairRequest{tick}));
}

void GuestLink::Check(const HashCheck& check)
{
    // The records come from the host, so this compares the pixels; the
    // scores and deaths arrive on the same ordered stream as the drawing.
    if (FieldHash(field.Image(), check.records) == check.hash)
        return;
    ++mismatches;
    AskForRepair(check.tick);
}

void GuestLink::SetKeys(int seat, bool left, bool right)
{
    const int player = PlayerOfSeat(welcome.seats, seat);
    if (state != State::Playing || player == 0)
        return;
    Keys& held = keys[player - 1];
    if (held.left == left && held.right == right)
        return;
    held = {left, right};
    SendKeys(player);
    NoteTiming("guest-key", player);
}

void GuestLink::RepeatKeys()
{
    if (state != State::Playing)
        return;
    for (int player = 1; player <= PlayerCount; ++player) {
        if (welcome.seats & (1u << (player - 1)))
            SendKeys(player);
    }
}

void GuestLink::SendKeys(int player)
{
    const Keys& held = keys[player - 1];
    transport.Send(host, Channel::Unreliable,
                   Encode(Input{std::uint8_t(player), held.left, held.right, ++sequence}));
    // On its way now: the host's next tick should have it.
    transport.Flush();
}

void GuestLink::AskForNextRound()
{
    if (state == State::Playing)
        transport.Send(host, Channel::Reliable, Encode(NextRound{}));
}

void GuestLink::Leave()
{
    if (state == State::Playing || state == State::Joining)
        transport.Send(host, Channel::Reliable, Encode(Goodbye{GoodbyeReason::GuestLeaves}));
    state = State::Left;
}

int PlayerOfSeat(SeatSet seats, int seat)
{
    for (int player = 1; player <= PlayerCount; ++player) {
        if ((seats & (1u << (player - 1))) && seat-- == 0)
            return player;
    }
    return 0;
}

int SeatOfPlayer(SeatSet seats, int player)
{
    if (player < 1 || player > PlayerCount || !(seats & (1u << (player - 1))))
        return -1;
    int seat = 0;
    for (int before = 1; before < player; ++before)
        seat += (seats >> (before - 1)) & 1u;
    return seat;
}

} // namespace net
