#include "Packet.h"

#include "Bytes.h"

#include <cmath>
#include <type_traits>

namespace net {

namespace {

bool ValidColor(ColorRef color) { return color <= 0xFFFFFF; }
bool ValidCoordinate(double value) { return std::isfinite(value) && std::fabs(value) <= MaxCoordinate; }

bool ReadBool(ByteReader& in)
{
    const std::uint8_t value = in.U8();
    if (value > 1)
        in.Fail();
    return value == 1;
}

ColorRef ReadColor(ByteReader& in)
{
    const ColorRef color = in.U32();
    if (!ValidColor(color))
        in.Fail();
    return color;
}

// A coordinate as read, failing the read if it is out of bounds.
double Coordinate(ByteReader& in, double value)
{
    if (!ValidCoordinate(value))
        in.Fail();
    return value;
}

// A bounded number, failing the read outside [low, high].
std::uint8_t ReadByteIn(ByteReader& in, int low, int high)
{
    const std::uint8_t value = in.U8();
    if (value < low || value > high)
        in.Fail();
    return value;
}

QString ReadText(ByteReader& in, int maxChars)
{
    return in.Text(qsizetype(maxChars) * 4, maxChars).value_or(QString());
}

// Writing and reading each kind, side by side so they stay in step.

void Write(ByteWriter& out, const Hello& m)
{
    out.Text(m.version);
    out.U16(m.code);
    out.Text(m.name);
    out.U8(m.seatsWanted);
    out.U8(m.watch);
}
void Read(ByteReader& in, Hello& m)
{
    m.version = ReadText(in, MaxVersionChars);
    m.code = in.U16();
    m.name = ReadText(in, MaxNameChars);
    m.seatsWanted = ReadByteIn(in, 1, MaxSeatsWanted);
    m.watch = ReadBool(in);
    if (m.version.isEmpty() || m.code > MaxJoinCode)
        in.Fail();
}

void Write(ByteWriter& out, const Welcome& m)
{
    out.U8(m.computer);
    out.U8(m.seats);
}
void Read(ByteReader& in, Welcome& m)
{
    m.computer = ReadByteIn(in, 1, MaxComputers);
    m.seats = ReadByteIn(in, 0, AllSeats);
    if (m.computer > MaxGuests && m.seats != 0)
        in.Fail();
}

void Write(ByteWriter& out, const Refusal& m)
{
    out.U8(std::uint8_t(m.reason));
    out.Text(m.hostVersion);
    out.Text(m.guestVersion);
}
void Read(ByteReader& in, Refusal& m)
{
    m.reason = RefusalReason(ReadByteIn(in, 1, LastRefusalReason));
    m.hostVersion = ReadText(in, MaxVersionChars);
    m.guestVersion = ReadText(in, MaxVersionChars);
}

void Write(ByteWriter& out, const SeatMap& m)
{
    for (const ComputerId owner : m.owners)
        out.U8(owner);
}
void Read(ByteReader& in, SeatMap& m)
{
    for (ComputerId& owner : m.owners) {
        owner = in.U8();
        if (owner > MaxGuests && owner != NoComputer)
            in.Fail();
    }
}

void Write(ByteWriter& out, const Input& m)
{
    out.U8(m.player);
    out.U8(std::uint8_t(m.left | m.right << 1));
    out.U32(m.sequence);
}
void Read(ByteReader& in, Input& m)
{
    m.player = ReadByteIn(in, 1, PlayerCount);
    const std::uint8_t keys = ReadByteIn(in, 0, 3);
    m.left = keys & 1;
    m.right = keys & 2;
    m.sequence = in.U32();
}

void Write(ByteWriter& out, const DrawSegment& e)
{
    for (const double value : {e.x1, e.y1, e.x2, e.y2})
        out.F64(value);
    out.U32(e.color);
}
void Read(ByteReader& in, DrawSegment& e)
{
    for (double* value : {&e.x1, &e.y1, &e.x2, &e.y2})
        *value = Coordinate(in, in.F64());
    e.color = ReadColor(in);
}

template<typename Box>
void WriteBox(ByteWriter& out, const Box& e)
{
    for (const std::int16_t value : {e.x1, e.y1, e.x2, e.y2})
        out.I16(value);
    out.U32(e.color);
}
template<typename Box>
void ReadBox(ByteReader& in, Box& e)
{
    for (std::int16_t* value : {&e.x1, &e.y1, &e.x2, &e.y2})
        *value = in.I16();
    e.color = ReadColor(in);
}
void Write(ByteWriter& out, const DrawFrame& e) { WriteBox(out, e); }
void Read(ByteReader& in, DrawFrame& e) { ReadBox(in, e); }
void Write(ByteWriter& out, const FillBox& e) { WriteBox(out, e); }
void Read(ByteReader& in, FillBox& e) { ReadBox(in, e); }

void Write(ByteWriter&, const ClearPlayfield&) {}
void Read(ByteReader&, ClearPlayfield&) {}

void Write(ByteWriter& out, const ShowScore& e)
{
    out.U8(e.slot);
    out.Text(e.text);
}
void Read(ByteReader& in, ShowScore& e)
{
    e.slot = ReadByteIn(in, 0, PlayerCount - 1);
    e.text = ReadText(in, MaxLabelChars);
}

void Write(ByteWriter& out, const BannerCaption& e) { out.Text(e.caption); }
void Read(ByteReader& in, BannerCaption& e) { e.caption = ReadText(in, MaxLabelChars); }

void Write(ByteWriter& out, const BannerVisible& e) { out.U8(e.visible); }
void Read(ByteReader& in, BannerVisible& e) { e.visible = ReadBool(in); }

void Write(ByteWriter& out, const CreditColor& e) { out.U32(e.color); }
void Read(ByteReader& in, CreditColor& e) { e.color = ReadColor(in); }

void Write(ByteWriter& out, const HeadDied& e) { out.U8(e.slot); }
void Read(ByteReader& in, HeadDied& e) { e.slot = ReadByteIn(in, 0, PlayerCount - 1); }

void Write(ByteWriter& out, const Winners& e)
{
    out.U8(std::uint8_t(e.rows.size()));
    for (const WinnerRow& row : e.rows) {
        out.Text(row.label);
        out.U32(row.color);
    }
}
void Read(ByteReader& in, Winners& e)
{
    const int count = ReadByteIn(in, 1, PlayerCount);
    for (int i = 0; i < count && in.Ok(); ++i) {
        WinnerRow row;
        row.label = ReadText(in, MaxLabelChars);
        row.color = ReadColor(in);
        e.rows.append(row);
    }
}

// Travel only in their own spelling, below.
void Write(ByteWriter&, const ContinueSegment&) {}
void Read(ByteReader& in, ContinueSegment&) { in.Fail(); }
void Write(ByteWriter&, const StepSegment&) {}
void Read(ByteReader& in, StepSegment&) { in.Fail(); }

// The messages that follow the readers and writers of a variant below.
void Write(ByteWriter& out, const TickBatch& m);
void Read(ByteReader& in, TickBatch& m);
void Write(ByteWriter& out, const ResendRequest& m);
void Read(ByteReader& in, ResendRequest& m);
void Write(ByteWriter& out, const HashCheck& m);
void Read(ByteReader& in, HashCheck& m);
void Write(ByteWriter& out, const RepairRequest& m);
void Read(ByteReader& in, RepairRequest& m);
void Write(ByteWriter& out, const RepairChunk& m);
void Read(ByteReader& in, RepairChunk& m);
void Write(ByteWriter& out, const Goodbye& m);
void Read(ByteReader& in, Goodbye& m);
void Write(ByteWriter& out, const Players& m);
void Read(ByteReader& in, Players& m);
void Write(ByteWriter& out, const NextRound& m);
void Read(ByteReader& in, NextRound& m);
void Write(ByteWriter& out, const DiscoveryRequest& m);
void Read(ByteReader& in, DiscoveryRequest& m);
void Write(ByteWriter& out, const DiscoveryAnswer& m);
void Read(ByteReader& in, DiscoveryAnswer& m);

// A variant's alternative, chosen by the kind byte that precedes it.
template<typename Variant, std::size_t Index = 0>
bool ReadAlternative(ByteReader& in, std::size_t kind, Variant& into)
{
    if constexpr (Index < std::variant_size_v<Variant>) {
        if (kind != Index)
            return ReadAlternative<Variant, Index + 1>(in, kind, into);
        std::variant_alternative_t<Index, Variant> value;
        Read(in, value);
        into = std::move(value);
        return in.Ok();
    } else {
        in.Fail();
        return false;
    }
}

template<typename Variant>
void WriteAlternative(ByteWriter& out, const Variant& value)
{
    out.U8(std::uint8_t(value.index() + 1));
    std::visit([&out](const auto& alternative) { Write(out, alternative); }, value);
}

template<typename Variant>
std::optional<Variant> ReadVariant(ByteReader& in)
{
    const std::uint8_t kind = in.U8();
    Variant value;
    if (kind == 0) {
        in.Fail();
        return std::nullopt;
    }
    if (!ReadAlternative(in, kind - 1u, value))
        return std::nullopt;
    return value;
}

// The game's segments run between heads' float positions, so four floats
// carry them exactly in half the bytes, which the tick stream's budget
// needs; doubles only where floats would not be exact. One spelling for each
// segment: doubles that floats would carry are refused.
constexpr std::uint8_t FloatSegmentKind = std::variant_size_v<Event> + 1;
// A continuing segment's kind byte names its trail too.
constexpr std::uint8_t ContinueSegmentKind = 0x80;
constexpr std::uint8_t StepSegmentKind = ContinueSegmentKind + MaxTrails;

bool FitsFloats(const DrawSegment& e)
{
    for (const double value : {e.x1, e.y1, e.x2, e.y2}) {
        if (double(float(value)) != value)
            return false;
    }
    return true;
}

void WriteEvent(ByteWriter& out, const Event& event)
{
    if (const auto* stepped = std::get_if<StepSegment>(&event)) {
        out.U8(std::uint8_t(StepSegmentKind + stepped->trail));
        out.I24(stepped->dx);
        out.I24(stepped->dy);
        return;
    }
    if (const auto* continued = std::get_if<ContinueSegment>(&event)) {
        out.U8(std::uint8_t(ContinueSegmentKind + continued->trail));
        out.F32(float(continued->x2));
        out.F32(float(continued->y2));
        return;
    }
    const DrawSegment* segment = std::get_if<DrawSegment>(&event);
    if (!segment || !FitsFloats(*segment)) {
        WriteAlternative(out, event);
        return;
    }
    out.U8(FloatSegmentKind);
    for (const double value : {segment->x1, segment->y1, segment->x2, segment->y2})
        out.F32(float(value));
    out.U32(segment->color);
}

std::optional<Event> ReadEvent(ByteReader& in)
{
    const std::uint8_t kind = in.U8();
    if (kind >= StepSegmentKind && kind < StepSegmentKind + MaxTrails) {
        StepSegment stepped{std::uint8_t(kind - StepSegmentKind)};
        stepped.dx = in.I24();
        stepped.dy = in.I24();
        return in.Ok() ? std::optional<Event>(stepped) : std::nullopt;
    }
    if (kind >= ContinueSegmentKind && kind < ContinueSegmentKind + MaxTrails) {
        ContinueSegment continued{std::uint8_t(kind - ContinueSegmentKind)};
        continued.x2 = Coordinate(in, in.F32());
        continued.y2 = Coordinate(in, in.F32());
        return in.Ok() ? std::optional<Event>(continued) : std::nullopt;
    }
    if (kind == FloatSegmentKind) {
        DrawSegment segment;
        for (double* value : {&segment.x1, &segment.y1, &segment.x2, &segment.y2})
            *value = Coordinate(in, in.F32());
        segment.color = ReadColor(in);
        return in.Ok() ? std::optional<Event>(segment) : std::nullopt;
    }
    Event event;
    if (kind == 0 || !ReadAlternative(in, kind - 1u, event)) {
        in.Fail();
        return std::nullopt;
    }
    const DrawSegment* segment = std::get_if<DrawSegment>(&event);
    if (segment && FitsFloats(*segment)) {
        in.Fail();
        return std::nullopt;
    }
    return event;
}

// A tick's part number and flags share one byte.
constexpr std::uint8_t TickPartMask = 0x0F;
constexpr std::uint8_t TickLast = 0x10;
constexpr std::uint8_t TickFresh = 0x20;

// A tick's fields but its number, which a batch gives only for its first:
// each part after belongs to the same tick, or to the next once the part
// before was its tick's last.
void WriteTickBody(ByteWriter& out, const Tick& m)
{
    out.U8(std::uint8_t(m.part | (m.last ? TickLast : 0) | (m.fresh ? TickFresh : 0)));
    out.U8(std::uint8_t(m.events.size()));
    for (const Event& event : m.events)
        WriteEvent(out, event);
}
void ReadTickBody(ByteReader& in, Tick& m)
{
    const std::uint8_t flags = ReadByteIn(in, 0, TickPartMask | TickLast | TickFresh);
    m.part = flags & TickPartMask;
    m.last = flags & TickLast;
    m.fresh = flags & TickFresh;
    const int count = in.U8();
    for (int i = 0; i < count && in.Ok(); ++i) {
        if (const std::optional<Event> event = ReadEvent(in))
            m.events.append(*event);
    }
}

void Write(ByteWriter& out, const TickBatch& m)
{
    out.U8(std::uint8_t(m.ticks.size()));
    out.U32(m.ticks.isEmpty() ? 0 : m.ticks.first().tick);
    for (const Tick& tick : m.ticks)
        WriteTickBody(out, tick);
}
void Read(ByteReader& in, TickBatch& m)
{
    const int count = ReadByteIn(in, 1, MaxBatchTicks);
    std::uint32_t number = in.U32();
    for (int i = 0; i < count && in.Ok(); ++i) {
        Tick tick{number, {}};
        ReadTickBody(in, tick);
        m.ticks.append(tick);
        if (tick.last)
            ++number;
    }
}

void Write(ByteWriter& out, const ResendRequest& m) { out.U32(m.from); }
void Read(ByteReader& in, ResendRequest& m) { m.from = in.U32(); }

void Write(ByteWriter& out, const HashCheck& m)
{
    out.U32(m.tick);
    out.U64(m.hash);
    for (const ShownRecord& record : m.records) {
        out.I16(record.score);
        out.U8(record.dead);
    }
}
void Read(ByteReader& in, HashCheck& m)
{
    m.tick = in.U32();
    m.hash = in.U64();
    for (ShownRecord& record : m.records) {
        record.score = in.I16();
        record.dead = ReadBool(in);
    }
}

void Write(ByteWriter& out, const RepairRequest& m) { out.U32(m.tick); }
void Read(ByteReader& in, RepairRequest& m) { m.tick = in.U32(); }

void Write(ByteWriter& out, const RepairChunk& m)
{
    out.U32(m.tick);
    out.U16(m.index);
    out.U16(m.count);
    out.U16(std::uint16_t(m.payload.size()));
    out.Raw(m.payload);
}
void Read(ByteReader& in, RepairChunk& m)
{
    m.tick = in.U32();
    m.index = in.U16();
    m.count = in.U16();
    const std::uint16_t size = in.U16();
    if (m.count < 1 || m.count > MaxRepairChunks || m.index >= m.count || size > MaxRepairPayload)
        in.Fail();
    m.payload = in.Raw(size).toByteArray();
}

void Write(ByteWriter& out, const Goodbye& m) { out.U8(std::uint8_t(m.reason)); }
void Read(ByteReader& in, Goodbye& m) { m.reason = GoodbyeReason(ReadByteIn(in, 1, 2)); }

void Write(ByteWriter& out, const Players& m)
{
    out.U8(std::uint8_t(m.names.size()));
    for (const QString& name : m.names)
        out.Text(name);
}
void Read(ByteReader& in, Players& m)
{
    const int count = ReadByteIn(in, 1, PlayerCount);
    for (int i = 0; i < count && in.Ok(); ++i)
        m.names.append(ReadText(in, MaxLabelChars));
}

void Write(ByteWriter&, const NextRound&) {}
void Read(ByteReader&, NextRound&) {}

// The kind byte and the zeros make the whole request.
void Write(ByteWriter& out, const DiscoveryRequest&) { out.Raw(QByteArray(DiscoveryRequestSize - 1, '\0')); }
void Read(ByteReader& in, DiscoveryRequest&)
{
    for (const char byte : in.Raw(DiscoveryRequestSize - 1)) {
        if (byte != 0)
            in.Fail();
    }
}

void Write(ByteWriter& out, const DiscoveryAnswer& m)
{
    out.Text(m.hostName);
    out.U8(m.players);
    out.U8(m.freeSeats);
    out.U16(m.port);
    out.Text(m.version);
}
void Read(ByteReader& in, DiscoveryAnswer& m)
{
    // Bounded in bytes, not letters, so an answer is never larger than the
    // padded request that asked for it.
    m.hostName = in.Text(MaxHostNameBytes, MaxHostNameBytes).value_or(QString());
    m.players = ReadByteIn(in, 1, PlayerCount);
    m.freeSeats = ReadByteIn(in, 0, PlayerCount - 1);
    m.port = in.U16();
    m.version = in.Text(MaxVersionChars, MaxVersionChars).value_or(QString());
    if (m.players + m.freeSeats > PlayerCount || m.port == 0 || m.version.isEmpty())
        in.Fail();
}

// The kind byte of an alternative.
template<typename T, typename... Ts>
constexpr std::uint8_t KindOf(const std::variant<Ts...>*)
{
    std::uint8_t index = 0;
    (void)((std::is_same_v<T, Ts> || (++index, false)) || ...);
    return std::uint8_t(index + 1);
}
constexpr std::uint8_t RepairChunkKind = KindOf<RepairChunk>(static_cast<const Message*>(nullptr));

} // namespace

QByteArray Encode(const Message& message)
{
    ByteWriter out;
    WriteAlternative(out, message);
    // The decoder is the one judge of what is well formed: what it would
    // not give back unchanged is never sent. That also catches a list or
    // text too long for its count byte, which wraps when written.
    const std::optional<Message> back = Decode(out.Bytes());
    if (!back || *back != message)
        return {};
    return out.Bytes();
}

std::optional<Message> Decode(QByteArrayView bytes)
{
    if (bytes.isEmpty() || bytes.size() > MaxPacket)
        return std::nullopt;
    if (std::uint8_t(bytes[0]) != RepairChunkKind && bytes.size() > MaxDatagram)
        return std::nullopt;
    ByteReader in(bytes);
    std::optional<Message> message = ReadVariant<Message>(in);
    if (!message || !in.AtEnd())
        return std::nullopt;
    return message;
}

} // namespace net
