#pragma once

#include "ColorRef.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <variant>

// What host and joined computers say to each other, and its byte format.
// Every field is fixed-width little-endian; every count and length has a
// bound, checked when encoding and when decoding, so decoding what anybody
// sent allocates no more than one datagram's worth and never crashes.
namespace net {

// One UDP datagram stays below a typical path's MTU.
inline constexpr qsizetype MaxDatagram = 1200;
// The image repair travels in larger pieces on the reliable channel, which
// ENet splits into fragments itself.
inline constexpr qsizetype MaxRepairPayload = 16384;
inline constexpr qsizetype MaxRepairChunks = 64;
inline constexpr qsizetype MaxPacket = MaxRepairPayload + 64;

inline constexpr int MaxNameChars = 8;          // as the setup window's name box
inline constexpr int MaxVersionChars = 32;
inline constexpr int MaxSeatsWanted = 4;
inline constexpr int PlayerCount = 6;
inline constexpr int MaxGuests = 5;   // computers that steer players
inline constexpr int MaxWatchers = 8;
inline constexpr int MaxComputers = MaxGuests + MaxWatchers;
inline constexpr int MaxLabelChars = 40;         // score and winner labels, the banner
inline constexpr std::uint16_t MaxJoinCode = 9999;
// Far beyond the playfield, yet where the painter's arithmetic stays sane.
inline constexpr double MaxCoordinate = 32767;

// Players 1..6 as bits 0..5.
using SeatSet = std::uint8_t;
inline constexpr SeatSet AllSeats = 0x3F;

// Computers: the host is 0, joined ones 1..MaxGuests, watchers after them
// up to MaxComputers: a seat map names none of them, so it stays as it was.
using ComputerId = std::uint8_t;
inline constexpr ComputerId HostComputer = 0;
// The owner of a player who is not in the match.
inline constexpr ComputerId NoComputer = 0xFF;

struct Hello
{
    QString version;
    std::uint16_t code = 0;
    QString name;
    std::uint8_t seatsWanted = 1;
    bool watch = false;
    bool operator==(const Hello&) const = default;
};

struct Welcome
{
    ComputerId computer = 1;
    SeatSet seats = 0; // none: the computer watches
    bool operator==(const Welcome&) const = default;
};

enum class RefusalReason : std::uint8_t { WrongCode = 1, OtherVersion, Full, BadHello };
inline constexpr std::uint8_t LastRefusalReason = std::uint8_t(RefusalReason::BadHello);

struct Refusal
{
    RefusalReason reason = RefusalReason::WrongCode;
    QString hostVersion;
    QString guestVersion;
    bool operator==(const Refusal&) const = default;
};

// Who steers each player: HostComputer, a joined computer or NoComputer.
struct SeatMap
{
    std::array<ComputerId, PlayerCount> owners{};
    bool operator==(const SeatMap&) const = default;
};

// A seat's turn keys as they are now; the sequence number lets the host
// ignore one that arrives after a newer one.
struct Input
{
    std::uint8_t player = 1; // 1..6
    bool left = false;
    bool right = false;
    std::uint32_t sequence = 0;
    bool operator==(const Input&) const = default;
};

// The playfield's drawing calls, replayed as they were made on the host.
struct DrawSegment
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ColorRef color = 0;
    bool operator==(const DrawSegment&) const = default;
};

// A segment that carries on a trail of the stream's table of trail ends
// (TrailEnds): from that trail's end, in its colour, to here. A head's
// segment of a tick starts where its last one ended, so this is how nearly
// every segment travels: 9 bytes instead of 21.
inline constexpr int MaxTrails = 16;
struct ContinueSegment
{
    std::uint8_t trail = 0; // 0..MaxTrails-1
    double x2 = 0, y2 = 0;  // floats, exactly
    bool operator==(const ContinueSegment&) const = default;
};

// The same, when the trail's end and this one are floats of the same sign,
// close enough to count the floats between them in 24 bits: a head's
// segment of a tick is a few thousand to a hundred thousand floats long.
// 7 bytes. The joined computer steps its trail's end by them.
inline constexpr std::int32_t MaxFloatSteps = (1 << 23) - 1;
struct StepSegment
{
    std::uint8_t trail = 0;  // 0..MaxTrails-1
    std::int32_t dx = 0, dy = 0; // -MaxFloatSteps-1..MaxFloatSteps
    bool operator==(const StepSegment&) const = default;
};

struct DrawFrame
{
    std::int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ColorRef color = 0;
    bool operator==(const DrawFrame&) const = default;
};

struct FillBox
{
    std::int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ColorRef color = 0;
    bool operator==(const FillBox&) const = default;
};

struct ClearPlayfield
{
    bool operator==(const ClearPlayfield&) const = default;
};

// What the screens show.
struct ShowScore
{
    std::uint8_t slot = 0; // 0..5
    QString text;
    bool operator==(const ShowScore&) const = default;
};

struct BannerCaption
{
    QString caption;
    bool operator==(const BannerCaption&) const = default;
};

struct BannerVisible
{
    bool visible = false;
    bool operator==(const BannerVisible&) const = default;
};

struct CreditColor
{
    ColorRef color = 0;
    bool operator==(const CreditColor&) const = default;
};

struct HeadDied
{
    std::uint8_t slot = 0;
    bool operator==(const HeadDied&) const = default;
};

struct WinnerRow
{
    QString label;
    ColorRef color = 0;
    bool operator==(const WinnerRow&) const = default;
};

// The match has ended: the winner window opens with these rows.
struct Winners
{
    QList<WinnerRow> rows; // 1..6
    bool operator==(const Winners&) const = default;
};

using Event = std::variant<DrawSegment, DrawFrame, FillBox, ClearPlayfield, ShowScore, BannerCaption,
    BannerVisible, CreditColor, HeadDied, Winners, ContinueSegment, StepSegment>;

// Everything one host tick drew and showed, in the order it happened, or a
// part of it when it does not fit one datagram. Ticks that draw and show
// nothing are not in the stream, so the numbers of those that are run on
// without gaps and a joined computer can tell a lost one.
inline constexpr int MaxTickParts = 16;
struct Tick
{
    std::uint32_t tick = 0;
    QList<Event> events;
    std::uint8_t part = 0; // 0..MaxTickParts-1
    bool last = true;      // no part of this tick follows
    bool fresh = false;    // the table of trail ends starts empty here
    bool operator==(const Tick&) const = default;
};

// What one datagram of the stream carries: the newest ticks and, again,
// those of the datagram before, so one lost datagram costs no waiting. Its
// parts are in stream order: each of the same tick as the part before, or
// of the next once that was its tick's last; only the first's number
// travels.
inline constexpr int MaxBatchTicks = 8;
struct TickBatch
{
    QList<Tick> ticks; // 1..MaxBatchTicks
    bool operator==(const TickBatch&) const = default;
};

// The parts of a player record a joined computer shows, hashed with the
// playfield's image.
struct ShownRecord
{
    std::int16_t score = 0;
    bool dead = false;
    bool operator==(const ShownRecord&) const = default;
};
using ShownRecords = std::array<ShownRecord, PlayerCount>;

struct HashCheck
{
    std::uint32_t tick = 0;
    std::uint64_t hash = 0;
    ShownRecords records{};
    bool operator==(const HashCheck&) const = default;
};

// Stream ticks from this number on, which a joined computer lost twice.
struct ResendRequest
{
    std::uint32_t from = 0;
    bool operator==(const ResendRequest&) const = default;
};

struct RepairRequest
{
    std::uint32_t tick = 0; // of the hash that differed
    bool operator==(const RepairRequest&) const = default;
};

// One piece of the host's whole image, compressed; the pieces of one repair
// share its tick: the stream tick after which the image is the host's.
struct RepairChunk
{
    std::uint32_t tick = 0;
    std::uint16_t index = 0;
    std::uint16_t count = 1;
    QByteArray payload;
    bool operator==(const RepairChunk&) const = default;
};

enum class GoodbyeReason : std::uint8_t { HostEndedMatch = 1, GuestLeaves };

struct Goodbye
{
    GoodbyeReason reason = GoodbyeReason::GuestLeaves;
    bool operator==(const Goodbye&) const = default;
};

// A new match: its players' names in slot order, a scoreboard row each.
struct Players
{
    QStringList names; // 1..6
    bool operator==(const Players&) const = default;
};

// Space on a joined computer: the next round, if one waits.
struct NextRound
{
    bool operator==(const NextRound&) const = default;
};

// LAN discovery, on a UDP port of its own: a computer looking for games
// asks by broadcast, and each host answers with what the join window lists.
// The question is padded with zeros to the size of an answer, so nobody can
// make a host send much more than they sent it, even from a forged address.
inline constexpr int DiscoveryRequestSize = 72;
inline constexpr int MaxHostNameBytes = 32;

struct DiscoveryRequest
{
    bool operator==(const DiscoveryRequest&) const = default;
};

// No code and no player's name: only the host computer's own name.
struct DiscoveryAnswer
{
    QString hostName;
    std::uint8_t players = 1;   // 1..6 in the match now
    std::uint8_t freeSeats = 0; // players a joining computer could take
    std::uint16_t port = 1;     // the game's, which the join goes to
    QString version;
    bool operator==(const DiscoveryAnswer&) const = default;
};

using Message = std::variant<Hello, Welcome, Refusal, SeatMap, Input, TickBatch, HashCheck, RepairRequest,
    RepairChunk, Goodbye, Players, NextRound, ResendRequest, DiscoveryRequest, DiscoveryAnswer>;

// The bytes of a message; empty when it breaks a bound, which is the
// sender's fault and is never put on the wire.
QByteArray Encode(const Message& message);

// The message in bytes from anybody, or nothing when they are not exactly
// one well-formed message within every bound.
std::optional<Message> Decode(QByteArrayView bytes);

} // namespace net
