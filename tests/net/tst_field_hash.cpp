#include "FieldHash.h"
#include "Packet.h"
#include "Playfield.h"
#include "Replay.h"
#include "TrailEnds.h"

#include <QtTest>

using namespace net;

namespace {

// A round under way: the frame, some trails, a box.
const QList<Event> SomeDrawing = {
    ClearPlayfield{},
    DrawFrame{0, 0, 449, 449, White},
    DrawSegment{100.25, 100.5, 101.75, 102.0, PlayerColors[0]},
    DrawSegment{101.75, 102.0, 103.1, 103.9, PlayerColors[0]},
    DrawSegment{300.0, 200.0, 298.6, 201.4, PlayerColors[3]},
    FillBox{200, 200, 210, 215, PlayerColors[5]},
};

ShownRecords SomeRecords()
{
    ShownRecords records{};
    records[0] = {3, false};
    records[1] = {1, true};
    return records;
}

void Draw(Playfield& field, const QList<Event>& events)
{
    TrailEnds trails;
    for (const Event& event : events)
        QVERIFY(ReplayDrawing(event, field, trails));
}

} // namespace

class FieldHashTest : public QObject
{
    Q_OBJECT

private slots:
    void anyChangeChangesTheHash_data();
    void anyChangeChangesTheHash();
    void theFormatDoesNotMatter();
    void replayedDrawingGivesTheSamePixels();
};

void FieldHashTest::anyChangeChangesTheHash_data()
{
    QTest::addColumn<QPoint>("pixel"); // changed to one colour step away, unless off the field
    QTest::addColumn<int>("slot");     // whose score goes up by one, or -1
    QTest::addColumn<int>("deadSlot"); // who dies, or -1
    QTest::newRow("top-left pixel") << QPoint(0, 0) << -1 << -1;
    QTest::newRow("bottom-right pixel") << QPoint(449, 449) << -1 << -1;
    QTest::newRow("a pixel on a trail") << QPoint(101, 101) << -1 << -1;
    QTest::newRow("first score") << QPoint(-1, -1) << 0 << -1;
    QTest::newRow("last score") << QPoint(-1, -1) << 5 << -1;
    QTest::newRow("a death") << QPoint(-1, -1) << -1 << 4;
}

void FieldHashTest::anyChangeChangesTheHash()
{
    QFETCH(QPoint, pixel);
    QFETCH(int, slot);
    QFETCH(int, deadSlot);
    Playfield field;
    Draw(field, SomeDrawing);
    QImage image = field.Image();
    ShownRecords records = SomeRecords();
    const std::uint64_t before = FieldHash(image, records);
    QCOMPARE(FieldHash(image, records), before);

    if (pixel.x() >= 0)
        image.setPixel(pixel, image.pixel(pixel) ^ 0x000001); // the least step of blue
    if (slot >= 0)
        ++records[slot].score;
    if (deadSlot >= 0)
        records[deadSlot].dead = true;
    QVERIFY(FieldHash(image, records) != before);
}

void FieldHashTest::theFormatDoesNotMatter()
{
    // A repaired image may come back in another format; only colours count.
    Playfield field;
    Draw(field, SomeDrawing);
    const QImage argb = field.Image().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(FieldHash(argb, SomeRecords()), FieldHash(field.Image(), SomeRecords()));
    QImage blank(Playfield::Size, Playfield::Size, QImage::Format_RGB32);
    blank.fill(Qt::black);
    QVERIFY(FieldHash(argb, SomeRecords()) != FieldHash(blank, SomeRecords()));
}

void FieldHashTest::replayedDrawingGivesTheSamePixels()
{
    // The host draws; a joined computer decodes what was sent and replays it.
    Playfield host;
    Draw(host, SomeDrawing);
    const std::optional<Message> received = Decode(Encode(TickBatch{{Tick{1, SomeDrawing}}}));
    QVERIFY(received.has_value());
    Playfield joined;
    Draw(joined, std::get<TickBatch>(*received).ticks.first().events);
    QCOMPARE(joined.Image(), host.Image());
    QCOMPARE(FieldHash(joined.Image(), {}), FieldHash(host.Image(), {}));
}

QTEST_APPLESS_MAIN(FieldHashTest)
#include "tst_field_hash.moc"
