#include "Bytes.h"
#include "Packet.h"

#include <QtTest>

#include <limits>

using namespace net;

Q_DECLARE_METATYPE(net::Message)

namespace {

// A hello written field by field, with the name as raw bytes, so a row can
// put in what the encoder would never write.
QByteArray HelloBytes(const QByteArray& name, std::uint16_t code = 1234, std::uint8_t seats = 1, std::uint8_t watch = 0)
{
    ByteWriter out;
    out.U8(1);
    out.Text(QStringLiteral("1.00.0007"));
    out.U16(code);
    out.U8(std::uint8_t(name.size()));
    out.Raw(name);
    out.U8(seats);
    out.U8(watch);
    return out.Bytes();
}

// A batch of one whole tick of one event, its fields written by the row.
template<typename Fill>
QByteArray TickBytes(std::uint8_t count, Fill fill, std::uint8_t flags = 0x10)
{
    ByteWriter out;
    out.U8(6);
    out.U8(1);
    out.U32(77);
    out.U8(flags);
    out.U8(count);
    fill(out);
    return out.Bytes();
}

Message Batch(const Tick& tick) { return TickBatch{{tick}}; }

// A segment in doubles, as sent for coordinates a float cannot hold (0.1).
void Segment(ByteWriter& out, double x1, ColorRef color = 0x00FF00, double y1 = 0.1)
{
    out.U8(1);
    for (const double value : {x1, y1, 3.0, 4.0})
        out.F64(value);
    out.U32(color);
}

// The same in floats, the form for coordinates a float holds exactly.
void FloatSegment(ByteWriter& out, float x1)
{
    out.U8(13);
    for (const float value : {x1, 2.0f, 3.0f, 4.0f})
        out.F32(value);
    out.U32(0x00FF00);
}

// A discovery answer written field by field, the host's name as raw bytes.
QByteArray AnswerBytes(const QByteArray& hostName, std::uint8_t players = 2, std::uint8_t freeSeats = 4,
                       std::uint16_t port = 24724, const QByteArray& version = "1.00.0007")
{
    ByteWriter out;
    out.U8(15);
    out.U8(std::uint8_t(hostName.size()));
    out.Raw(hostName);
    out.U8(players);
    out.U8(freeSeats);
    out.U16(port);
    out.U8(std::uint8_t(version.size()));
    out.Raw(version);
    return out.Bytes();
}

QByteArray RequestBytes(qsizetype padding = DiscoveryRequestSize - 1)
{
    return QByteArray(1, '\x0e') + QByteArray(padding, '\0');
}

QByteArray Patched(QByteArray bytes, qsizetype at, char value)
{
    bytes[at] = value;
    return bytes;
}

Tick ManySegments(int count)
{
    Tick tick{9, {}};
    for (int i = 0; i < count; ++i)
        tick.events.append(DrawSegment{1.5, 2, 3.25, double(i), 0x0000FF});
    return tick;
}

// A tick of the same event again and again.
Message Repeated(const Event& event, int count)
{
    Tick tick{1, {}};
    for (int i = 0; i < count; ++i)
        tick.events.append(event);
    return Batch(tick);
}

Message EveryEvent()
{
    return Batch(Tick{123456,
        {DrawSegment{10.5, 20.25, 11.0, 21.0, 0x00FF00}, DrawFrame{0, 0, 449, 449, White},
            FillBox{-3, 4, 100, 200, 0xFF00FF}, ClearPlayfield{}, ShowScore{5, QStringLiteral("12")},
            BannerCaption{QStringLiteral("Kolo 3")}, BannerVisible{true}, CreditColor{0x123456}, HeadDied{2},
            Winners{{{QStringLiteral("Žluťák 9"), 0x00FFFF}, {QStringLiteral("B 9"), 0x0000FF}}},
            ContinueSegment{15, 11.5, -0.0}, StepSegment{15, MaxFloatSteps, -MaxFloatSteps - 1}}});
}

} // namespace

class PacketTest : public QObject
{
    Q_OBJECT

private slots:
    void roundTrips_data();
    void roundTrips();
    void fieldsAreLittleEndian();
    void malformedIsRefused_data();
    void malformedIsRefused();
    void encoderRefusesWhatBreaksABound_data();
    void encoderRefusesWhatBreaksABound();
    void everyTruncationIsRefused_data();
    void everyTruncationIsRefused();
};

void PacketTest::roundTrips_data()
{
    QTest::addColumn<Message>("message");
    QTest::newRow("hello") << Message(Hello{QStringLiteral("1.00.0007"), 42, QStringLiteral("Čestmír"), 3, false});
    QTest::newRow("hello to watch, no name") << Message(Hello{QStringLiteral("1.00.0007"), 9999, {}, 1, true});
    QTest::newRow("hello, eight wide letters") << Message(Hello{QStringLiteral("2"), 0, QStringLiteral("ŘŘŘŘŘŘŘŘ"), 4, false});
    QTest::newRow("welcome") << Message(Welcome{5, 0b101100});
    QTest::newRow("welcome to watch") << Message(Welcome{1, 0});
    QTest::newRow("welcome to the last watcher") << Message(Welcome{MaxComputers, 0});
    QTest::newRow("refusal, other version") << Message(Refusal{RefusalReason::OtherVersion, QStringLiteral("1.00.0007"), QStringLiteral("1.00.0008")});
    QTest::newRow("refusal, full") << Message(Refusal{RefusalReason::Full, QStringLiteral("1"), {}});
    QTest::newRow("seat map") << Message(SeatMap{{HostComputer, 1, 1, 5, NoComputer, NoComputer}});
    QTest::newRow("input") << Message(Input{6, true, false, 0xFFFFFFFF});
    QTest::newRow("input, both keys") << Message(Input{1, true, true, 0});
    QTest::newRow("tick of every event") << EveryEvent();
    QTest::newRow("empty tick") << Batch(Tick{0, {}});
    QTest::newRow("tick filling a datagram") << Batch(ManySegments(55));
    QTest::newRow("segment that needs doubles") << Batch(Tick{1, {DrawSegment{0.1, 449.999, -0.0, 1e-9, 0x00FF00}}});
    QTest::newRow("segment at the bounds") << Batch(Tick{1, {DrawSegment{-MaxCoordinate, MaxCoordinate, 0, 0, 0xFFFFFF}}});
    QTest::newRow("a fresh tick's last part") << Batch(Tick{5, {ClearPlayfield{}}, 15, true, true});
    QTest::newRow("a tick's first part, more to come") << Batch(Tick{5, {ClearPlayfield{}}, 0, false, false});
    QTest::newRow("a batch of the most ticks") << [] {
        TickBatch batch;
        for (std::uint32_t n = 3; n < 3 + MaxBatchTicks; ++n)
            batch.ticks.append(Tick{n, {HeadDied{1}}});
        return Message(batch);
    }();
    QTest::newRow("a batch of a tick's parts, then the next") << Message(TickBatch{{Tick{3, {}, 0, false, true}, Tick{3, {}, 1, true, false}, Tick{4, {}}}});
    QTest::newRow("resend request") << Message(ResendRequest{0xFFFFFFFF});
    QTest::newRow("hash check") << Message(HashCheck{99, 0x0123456789ABCDEFull, {{{-3, true}, {0, false}, {32767, false}, {1, true}, {2, false}, {-32768, true}}}});
    QTest::newRow("repair request") << Message(RepairRequest{7});
    QTest::newRow("repair chunk, largest") << Message(RepairChunk{7, 63, 64, QByteArray(MaxRepairPayload, 'x')});
    QTest::newRow("repair chunk, empty") << Message(RepairChunk{7, 0, 1, {}});
    QTest::newRow("goodbye from the host") << Message(Goodbye{GoodbyeReason::HostEndedMatch});
    QTest::newRow("goodbye from a guest") << Message(Goodbye{GoodbyeReason::GuestLeaves});
    QTest::newRow("players, one unnamed") << Message(Players{{QStringLiteral("Adam"), QString()}});
    QTest::newRow("six players") << Message(Players{{"A", "Bára", "C", "D", "E", "Řehoř"}});
    QTest::newRow("next round") << Message(NextRound{});
    QTest::newRow("discovery request") << Message(DiscoveryRequest{});
    QTest::newRow("discovery answer") << Message(DiscoveryAnswer{QStringLiteral("pracovna"), 2, 4, 24724, QStringLiteral("1.00.0007")});
    QTest::newRow("discovery answer, full, longest name") << Message(DiscoveryAnswer{QString(MaxHostNameBytes, u'x'), 6, 0, 65535, QString(MaxVersionChars, u'9')});
}

void PacketTest::roundTrips()
{
    QFETCH(Message, message);
    const QByteArray bytes = Encode(message);
    QVERIFY(!bytes.isEmpty());
    const std::optional<Message> back = Decode(bytes);
    QVERIFY(back.has_value());
    QCOMPARE(back->index(), message.index());
    QVERIFY(*back == message);
}

void PacketTest::fieldsAreLittleEndian()
{
    // Round trips pass in any byte order; the other computer may have another.
    QCOMPARE(Encode(Input{3, true, false, 0x01020304}), QByteArray::fromHex("05030104030201"));
    QCOMPARE(Encode(RepairRequest{0xA1B2C3D4}), QByteArray::fromHex("08d4c3b2a1"));
    QCOMPARE(Encode(Batch(Tick{2, {DrawSegment{1, 2, 0.5, -2, 0x0000FF}, ContinueSegment{3, 1, 2}}})),
        QByteArray::fromHex("06" "01" "02000000" "10" "02" "0d" "0000803f" "00000040" "0000003f" "000000c0" "ff000000"
                            "83" "0000803f" "00000040"));
}

void PacketTest::malformedIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray goodHello = HelloBytes("Eva");
    QVERIFY(Decode(goodHello).has_value()); // the rows below differ from it in one thing each

    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("kind 0") << QByteArray::fromHex("00");
    QTest::newRow("kind past the last") << QByteArray::fromHex("1000");
    QTest::newRow("batch of no ticks") << QByteArray::fromHex("0600");
    QTest::newRow("batch of nine ticks") << QByteArray::fromHex("060900000000") + QByteArray::fromHex("1000").repeated(9);
    QTest::newRow("tick with an unknown flag") << TickBytes(0, [](ByteWriter&) {}, 0x50);
    QTest::newRow("continuing segment in the variant's spelling") << TickBytes(1, [](ByteWriter& out) { out.U8(11); out.U8(0); out.F32(1); out.F32(2); });
    QTest::newRow("continuing segment of trail 16") << TickBytes(1, [](ByteWriter& out) { out.U8(0x90); out.F32(1); out.F32(2); });
    QTest::newRow("stepping segment of trail 16") << TickBytes(1, [](ByteWriter& out) { out.U8(0xA0); out.I24(1); out.I24(2); });
    QTest::newRow("stepping segment cut short") << TickBytes(1, [](ByteWriter& out) { out.U8(0x91); out.I24(1); out.U8(0); });
    QTest::newRow("continuing segment at NaN") << TickBytes(1, [](ByteWriter& out) { out.U8(0x80); out.F32(std::numeric_limits<float>::quiet_NaN()); out.F32(2); });
    QTest::newRow("continuing segment cut short") << TickBytes(1, [](ByteWriter& out) { out.U8(0x81); out.F32(1); });
    QTest::newRow("players, none") << QByteArray::fromHex("0b00");
    QTest::newRow("players, seven") << QByteArray::fromHex("0b0700000000000000");
    QTest::newRow("players, a name with a newline") << QByteArray::fromHex("0b0102410a");
    QTest::newRow("players, fewer names than counted") << QByteArray::fromHex("0b020141");
    QTest::newRow("next round with a byte") << QByteArray::fromHex("0c00");
    QTest::newRow("kind 255") << QByteArray::fromHex("ff");
    QVERIFY(Decode(RequestBytes()).has_value());
    QVERIFY(Decode(AnswerBytes("pracovna")).has_value());
    QTest::newRow("discovery request, bare kind") << RequestBytes(0);
    QTest::newRow("discovery request, a zero short") << RequestBytes(DiscoveryRequestSize - 2);
    QTest::newRow("discovery request, a zero over") << RequestBytes(DiscoveryRequestSize);
    QTest::newRow("discovery request, padding not zero") << Patched(RequestBytes(), DiscoveryRequestSize - 1, 1);
    QTest::newRow("discovery answer, no players") << AnswerBytes("pc", 0, 1);
    QTest::newRow("discovery answer, seven players") << AnswerBytes("pc", 7, 0);
    QTest::newRow("discovery answer, more seats than players") << AnswerBytes("pc", 2, 5);
    QTest::newRow("discovery answer, port 0") << AnswerBytes("pc", 2, 4, 0);
    QTest::newRow("discovery answer, no version") << AnswerBytes("pc", 2, 4, 24724, "");
    QTest::newRow("discovery answer, version of 33") << AnswerBytes("pc", 2, 4, 24724, QByteArray(33, '1'));
    QTest::newRow("discovery answer, name of 33 bytes") << AnswerBytes(QByteArray(33, 'x'));
    QTest::newRow("discovery answer, 17 wide letters") << AnswerBytes(QString(17, u'Ř').toUtf8());
    QTest::newRow("discovery answer, newline in name") << AnswerBytes("pc\n");
    QTest::newRow("trailing garbage") << goodHello + '\0';
    QTest::newRow("code over 9999") << HelloBytes("Eva", 10000);
    QTest::newRow("no seats wanted") << HelloBytes("Eva", 1, 0);
    QTest::newRow("five seats wanted") << HelloBytes("Eva", 1, 5);
    QTest::newRow("watch flag 2") << HelloBytes("Eva", 1, 1, 2);
    QTest::newRow("nine letters") << HelloBytes("Ludmilka9");
    QTest::newRow("newline in name") << HelloBytes("Eva\n");
    QTest::newRow("escape in name") << HelloBytes("\x1b[2J");
    QTest::newRow("delete in name") << HelloBytes("Eva\x7f");
    QTest::newRow("NUL in name") << HelloBytes(QByteArray("E\0a", 3));
    QTest::newRow("right-to-left mark in name") << HelloBytes("Eva\xe2\x80\x8f");
    QTest::newRow("C1 control in name") << HelloBytes("Eva\xc2\x85");
    QTest::newRow("bad UTF-8") << HelloBytes("\xc3\x28");
    QTest::newRow("overlong UTF-8") << HelloBytes("\xc0\xaf");
    QTest::newRow("UTF-8 surrogate") << HelloBytes("\xed\xa0\x80");
    QTest::newRow("cut UTF-8 sequence") << HelloBytes("Ev\xe2\x82");
    QTest::newRow("empty version") << Patched(Patched(goodHello, 1, 0), 2, 1).remove(3, 8);
    QTest::newRow("text length past the end") << Patched(goodHello, 1, char(200));
    QTest::newRow("welcome to computer 0") << QByteArray::fromHex("020001");
    QTest::newRow("welcome to watcher 6 with a seat") << QByteArray::fromHex("020601");
    QTest::newRow("welcome to computer 14") << QByteArray::fromHex("020e00");
    QTest::newRow("welcome to player 7") << QByteArray::fromHex("020140");
    QTest::newRow("refusal reason 5") << QByteArray::fromHex("03050000");
    QTest::newRow("seat map owner 6") << QByteArray::fromHex("04000102030406");
    QTest::newRow("seat map short") << QByteArray::fromHex("040001020304");
    QTest::newRow("input for player 0") << QByteArray::fromHex("05000000000000");
    QTest::newRow("input for player 7") << QByteArray::fromHex("05070000000000");
    QTest::newRow("input with unknown key bit") << QByteArray::fromHex("05010400000000");
    QVERIFY(Decode(TickBytes(1, [](ByteWriter& out) { Segment(out, 1); })).has_value());
    QVERIFY(Decode(TickBytes(1, [](ByteWriter& out) { FloatSegment(out, 1); })).has_value());
    QTest::newRow("segment in doubles that floats would carry") << TickBytes(1, [](ByteWriter& out) { Segment(out, 1, 0x00FF00, 2.0); });
    QTest::newRow("float segment at NaN") << TickBytes(1, [](ByteWriter& out) { FloatSegment(out, std::numeric_limits<float>::quiet_NaN()); });
    QTest::newRow("float segment far away") << TickBytes(1, [](ByteWriter& out) { FloatSegment(out, 1e9f); });
    QTest::newRow("float segment cut short") << TickBytes(1, [](ByteWriter& out) { out.U8(13); out.F32(1); });
    QTest::newRow("tick count says more than it has") << TickBytes(2, [](ByteWriter& out) { Segment(out, 1); });
    QTest::newRow("tick count says fewer than it has") << TickBytes(1, [](ByteWriter& out) { Segment(out, 1); Segment(out, 2); });
    QTest::newRow("event kind 0") << TickBytes(1, [](ByteWriter& out) { out.U8(0); });
    QTest::newRow("event kind past the last") << TickBytes(1, [](ByteWriter& out) { out.U8(14); });
    QTest::newRow("segment at NaN") << TickBytes(1, [](ByteWriter& out) { Segment(out, std::numeric_limits<double>::quiet_NaN()); });
    QTest::newRow("segment at infinity") << TickBytes(1, [](ByteWriter& out) { Segment(out, std::numeric_limits<double>::infinity()); });
    QTest::newRow("segment far away") << TickBytes(1, [](ByteWriter& out) { Segment(out, 1e12); });
    QTest::newRow("colour with a fourth byte") << TickBytes(1, [](ByteWriter& out) { Segment(out, 1, 0x01000000); });
    QTest::newRow("score of slot 6") << TickBytes(1, [](ByteWriter& out) { out.U8(5); out.U8(6); out.Text("1"); });
    QTest::newRow("banner shown 2") << TickBytes(1, [](ByteWriter& out) { out.U8(7); out.U8(2); });
    QTest::newRow("no winners") << TickBytes(1, [](ByteWriter& out) { out.U8(10); out.U8(0); });
    QTest::newRow("seven winners") << TickBytes(1, [](ByteWriter& out) {
        out.U8(10);
        out.U8(7);
        for (int i = 0; i < 7; ++i) {
            out.Text("A");
            out.U32(0);
        }
    });
    QTest::newRow("banner over 40 letters") << TickBytes(1, [](ByteWriter& out) { out.U8(6); out.Text(QString(41, u'x')); });
    QTest::newRow("hash record dead 2") << QByteArray::fromHex("07" "00000000" "0000000000000000" "000002" "000000" "000000" "000000" "000000" "000000");
    QTest::newRow("repair chunk index past count") << QByteArray::fromHex("09" "00000000" "0200" "0200" "0000");
    QTest::newRow("repair chunk count 0") << QByteArray::fromHex("09" "00000000" "0000" "0000" "0000");
    QTest::newRow("repair chunk count 65") << QByteArray::fromHex("09" "00000000" "0000" "4100" "0000");
    QTest::newRow("repair payload longer than sent") << QByteArray::fromHex("09" "00000000" "0000" "0100" "0500" "41");
    QTest::newRow("repair payload over the bound") << QByteArray::fromHex("09" "00000000" "0000" "0100" "0140") + QByteArray(16385, 'x');
    QTest::newRow("goodbye reason 3") << QByteArray::fromHex("0a03");
    QTest::newRow("tick over one datagram") << Encode(Batch(ManySegments(55))) + QByteArray(MaxDatagram, 'x');
    QTest::newRow("over any packet") << QByteArray(MaxPacket + 1, '\x09');
}

void PacketTest::malformedIsRefused()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!Decode(bytes).has_value());
}

void PacketTest::encoderRefusesWhatBreaksABound_data()
{
    QTest::addColumn<Message>("message");
    QTest::newRow("name of nine") << Message(Hello{QStringLiteral("1"), 1, QStringLiteral("123456789"), 1, false});
    QTest::newRow("name with a tab") << Message(Hello{QStringLiteral("1"), 1, QStringLiteral("a\tb"), 1, false});
    QTest::newRow("five seats") << Message(Hello{QStringLiteral("1"), 1, {}, 5, false});
    QTest::newRow("segment at NaN") << Batch(Tick{1, {DrawSegment{std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0}}});
    QTest::newRow("more events than a datagram holds") << Batch(ManySegments(60));
    QTest::newRow("continuing to what floats miss") << Batch(Tick{1, {ContinueSegment{0, 0.1, 1}}});
    QTest::newRow("continuing a trail past the table") << Batch(Tick{1, {ContinueSegment{MaxTrails, 1, 1}}});
    QTest::newRow("more steps than 24 bits count") << Batch(Tick{1, {StepSegment{0, MaxFloatSteps + 1, 0}}});
    QTest::newRow("tick part 16") << Batch(Tick{1, {}, MaxTickParts, true, false});
    QTest::newRow("batch of nine ticks") << Message(TickBatch{QList<Tick>(MaxBatchTicks + 1, Tick{3, {}})});
    QTest::newRow("batch of ticks out of order") << Message(TickBatch{{Tick{4, {}}, Tick{3, {}}}});
    QTest::newRow("batch skipping a tick") << Message(TickBatch{{Tick{3, {}}, Tick{5, {}}}});
    QTest::newRow("300 events, more than the count byte") << Repeated(ClearPlayfield{}, 300);
    QTest::newRow("repair payload over the bound") << Message(RepairChunk{1, 0, 1, QByteArray(MaxRepairPayload + 1, 'x')});
    QTest::newRow("host name over the bytes of a request") << Message(DiscoveryAnswer{QString(17, u'Ř'), 1, 0, 1, QStringLiteral("1")});
    QTest::newRow("banner of 300 bytes") << Repeated(BannerCaption{QString(300, u'x')}, 1);
}

void PacketTest::encoderRefusesWhatBreaksABound()
{
    QFETCH(Message, message);
    QVERIFY(Encode(message).isEmpty());
}

void PacketTest::everyTruncationIsRefused_data()
{
    QTest::addColumn<Message>("message");
    QTest::newRow("hello") << Message(Hello{QStringLiteral("1.00.0007"), 42, QStringLiteral("Eva"), 2, false});
    QTest::newRow("tick") << EveryEvent();
    QTest::newRow("hash check") << Message(HashCheck{1, 2, {}});
    QTest::newRow("repair chunk") << Message(RepairChunk{1, 0, 2, QByteArray("abc")});
    QTest::newRow("discovery request") << Message(DiscoveryRequest{});
    QTest::newRow("discovery answer") << Message(DiscoveryAnswer{QStringLiteral("pc"), 1, 5, 80, QStringLiteral("1")});
}

void PacketTest::everyTruncationIsRefused()
{
    QFETCH(Message, message);
    const QByteArray bytes = Encode(message);
    QVERIFY(!bytes.isEmpty());
    for (qsizetype size = 0; size < bytes.size(); ++size) {
        if (Decode(bytes.first(size)).has_value())
            QFAIL(qPrintable(QStringLiteral("cut to %1 of %2 bytes decoded").arg(size).arg(bytes.size())));
    }
}

QTEST_APPLESS_MAIN(PacketTest)
#include "tst_packet.moc"
