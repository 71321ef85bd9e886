#include "TickQueue.h"
#include "TickStream.h"
#include "TrailEnds.h"

#include <bit>

#include <QtTest>

using namespace net;

namespace {

// Tick n shows score text n, so what arrives can be told apart.
QList<Tick> Parts(std::uint32_t n, int count = 1)
{
    QList<Tick> parts;
    for (int part = 0; part < count; ++part)
        parts.append(Tick{n, {ShowScore{0, QString::number(n)}}, std::uint8_t(part), part == count - 1, false});
    return parts;
}

// The score texts of the ticks the queue gives, in order.
QStringList Replay(TickQueue& queue)
{
    QStringList shown;
    while (const std::optional<QList<Tick>> parts = queue.TakeNext()) {
        for (const Tick& part : *parts)
            shown << std::get<ShowScore>(part.events.first()).text;
    }
    return shown;
}

} // namespace

class TickStreamTest : public QObject
{
    Q_OBJECT

private slots:
    void lostDatagramsCostNothingOrAResend_data();
    void lostDatagramsCostNothingOrAResend();
    void aTickIsReplayedOnlyWhole();
    void whatIsNoLongerKeptIsNotResent();
    void aSegmentCarriesOnItsTrailExactly_data();
    void aSegmentCarriesOnItsTrailExactly();
};

void TickStreamTest::lostDatagramsCostNothingOrAResend_data()
{
    QTest::addColumn<QList<int>>("lost"); // datagrams, counted from 0
    QTest::addColumn<int>("hole");        // the tick asked for again, or 0
    QTest::newRow("none lost") << QList<int>{} << 0;
    QTest::newRow("one lost") << QList<int>{2} << 0;
    QTest::newRow("every other lost") << QList<int>{1, 3, 5, 7} << 0;
    QTest::newRow("the first lost") << QList<int>{0} << 0;
    QTest::newRow("two in a row lost") << QList<int>{3, 4} << 7;
}

// Twenty ticks, two a datagram: one lost datagram is made good by the next;
// two in a row leave a hole, which the kept ticks fill.
void TickStreamTest::lostDatagramsCostNothingOrAResend()
{
    QFETCH(QList<int>, lost);
    QFETCH(int, hole);
    TickStream stream;
    TickQueue queue;
    queue.GoOnAfter(0); // joined before the first tick
    QStringList shown;
    std::optional<std::uint32_t> askedFor;
    int datagram = 0;
    for (std::uint32_t n = 1; n <= 20; ++n) {
        stream.Add(Parts(n));
        const QList<TickBatch> due = stream.TakeDue(n == 20);
        if (due.isEmpty())
            continue;
        QCOMPARE(due.size(), 1);
        if (!lost.contains(datagram++)) {
            for (const Tick& part : due.first().ticks)
                queue.Add(part);
        }
        shown += Replay(queue);
        if (!askedFor)
            askedFor = queue.Hole();
    }
    QCOMPARE(askedFor.value_or(0), std::uint32_t(hole));
    if (askedFor) {
        for (const TickBatch& batch : stream.Resend(*askedFor)) {
            for (const Tick& part : batch.ticks)
                queue.Add(part);
        }
        shown += Replay(queue);
    }
    QStringList all;
    for (int n = 1; n <= 20; ++n)
        all << QString::number(n);
    QCOMPARE(shown, all);
    QVERIFY(!queue.Hole());
}

// A tick cut into parts waits for all of them, in whatever order they come;
// the one after waits for it.
void TickStreamTest::aTickIsReplayedOnlyWhole()
{
    TickQueue queue;
    queue.GoOnAfter(4);
    const QList<Tick> five = Parts(5, 3);
    queue.Add(Parts(6).first());
    queue.Add(five[2]);
    queue.Add(five[0]);
    QVERIFY(Replay(queue).isEmpty());
    QCOMPARE(queue.Hole(), std::optional<std::uint32_t>(5));
    queue.Add(five[0]); // again, as a repeat brings it
    queue.Add(five[1]);
    QCOMPARE(Replay(queue), (QStringList{"5", "5", "5", "6"}));
    // Old ones and far-off ones are not held.
    queue.Add(Parts(3).first());
    queue.Add(Parts(6 + TickQueue::MaxWaiting + 1).first());
    QVERIFY(Replay(queue).isEmpty());
    QVERIFY(!queue.Hole());
}

void TickStreamTest::whatIsNoLongerKeptIsNotResent()
{
    TickStream stream;
    for (std::uint32_t n = 1; n <= TickStream::TicksKept + 10; ++n)
        stream.Add(Parts(n));
    QVERIFY(stream.Resend(10).isEmpty());
    QVERIFY(!stream.Resend(11).isEmpty());
    QVERIFY(stream.Resend(stream.Next()).isEmpty());
}

void TickStreamTest::aSegmentCarriesOnItsTrailExactly_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<int>("kind"); // the event's index in Event
    const int step = int(Event(StepSegment{}).index()), point = int(Event(ContinueSegment{}).index());
    QTest::newRow("a tick's move") << QPointF(225.5f, 100.25f) << QPointF(226.83f, 98.7f) << step;
    QTest::newRow("left of the field") << QPointF(-100.5f, 3) << QPointF(-101.25f, 3.5f) << step;
    QTest::newRow("near the corner, floats too dense") << QPointF(0.75f, 1.5f) << QPointF(0.001f, 0.3f) << point;
    QTest::newRow("across zero") << QPointF(0.25f, 3) << QPointF(-0.25f, 3) << point;
    QTest::newRow("from far away") << QPointF(2, 3) << QPointF(400.5f, 3) << point;
    QTest::newRow("at the edge of what travels") << QPointF(32766.5f, 1) << QPointF(32767, 1) << step;
}

// The joined computer's segment is the host's to the last bit, whichever
// way it carried on its trail.
void TickStreamTest::aSegmentCarriesOnItsTrailExactly()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(int, kind);
    const DrawSegment first{10, 20, from.x(), from.y(), 0x00FF00};
    const DrawSegment next{from.x(), from.y(), to.x(), to.y(), 0x00FF00};
    TrailEnds host, joined;
    host.Drawn(first);
    joined.Drawn(first);
    const std::optional<Event> carried = host.Continuing(next);
    QVERIFY(carried);
    QCOMPARE(int(carried->index()), kind);
    const std::optional<Message> received = Decode(Encode(TickBatch{{Tick{1, {*carried}}}}));
    QVERIFY(received);
    const Event arrived = std::get<TickBatch>(*received).ticks.first().events.first();
    const std::optional<DrawSegment> drawn = std::holds_alternative<StepSegment>(arrived)
        ? joined.Resolve(std::get<StepSegment>(arrived))
        : joined.Resolve(std::get<ContinueSegment>(arrived));
    QVERIFY(drawn);
    for (const auto& [got, sent] : {std::pair(drawn->x1, next.x1), std::pair(drawn->y1, next.y1),
                                    std::pair(drawn->x2, next.x2), std::pair(drawn->y2, next.y2)})
        QCOMPARE(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(sent));
    QCOMPARE(drawn->color, next.color);
}

QTEST_APPLESS_MAIN(TickStreamTest)
#include "tst_tick_stream.moc"
