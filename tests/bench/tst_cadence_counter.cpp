#include "CadenceCounter.h"

#include <QtTest>

namespace {

constexpr qint64 Ms = 1'000'000;

// Tick times every 10 ms from 10 ms on.
QList<qint64> Even(int count)
{
    QList<qint64> times;
    for (int i = 1; i <= count; ++i)
        times << i * 10 * Ms;
    return times;
}

} // namespace

class CadenceCounterTest : public QObject
{
    Q_OBJECT

private slots:
    void countsWhatTheClockSays_data();
    void countsWhatTheClockSays();
};

void CadenceCounterTest::countsWhatTheClockSays_data()
{
    QTest::addColumn<QList<qint64>>("before");   // ticks ahead of Begin at 0
    QTest::addColumn<QList<qint64>>("ticks");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<QList<qint64>>("after");    // ticks once End has been
    QTest::addColumn<int>("counted");
    QTest::addColumn<double>("perSecond");
    QTest::addColumn<qint64>("largestGap");

    const QList<qint64> none;
    QTest::newRow("even 10 ms for a second")
        << none << Even(100) << 1000 * Ms << none << 100 << 100.0 << 10 * Ms;
    QList<qint64> late = Even(100);
    late[40] += 7 * Ms;
    QTest::newRow("one tick 7 ms late")
        << none << late << 1000 * Ms << none << 100 << 100.0 << 17 * Ms;
    QList<qint64> lost = Even(100);
    lost.removeAt(60);
    QTest::newRow("one tick lost")
        << none << lost << 1000 * Ms << none << 99 << 99.0 << 20 * Ms;
    // The wait for the first tick does not count as a gap.
    QTest::newRow("first tick after 300 ms")
        << none << QList<qint64>{300 * Ms, 310 * Ms, 315 * Ms} << 500 * Ms << none << 3 << 6.0
        << 10 * Ms;
    QTest::newRow("no tick") << none << none << 2000 * Ms << none << 0 << 0.0 << qint64(0);
    QTest::newRow("one tick")
        << none << QList<qint64>{250 * Ms} << 500 * Ms << none << 1 << 2.0 << qint64(0);
    QTest::newRow("ticks outside the window")
        << QList<qint64>{-30 * Ms, -20 * Ms} << QList<qint64>{10 * Ms, 30 * Ms} << 40 * Ms
        << QList<qint64>{90 * Ms} << 2 << 50.0 << 20 * Ms;
    QTest::newRow("empty window") << none << none << qint64(0) << none << 0 << 0.0 << qint64(0);
}

void CadenceCounterTest::countsWhatTheClockSays()
{
    QFETCH(QList<qint64>, before);
    QFETCH(QList<qint64>, ticks);
    QFETCH(qint64, end);
    QFETCH(QList<qint64>, after);
    QFETCH(int, counted);
    QFETCH(double, perSecond);
    QFETCH(qint64, largestGap);

    std::int64_t now = 0;
    CadenceCounter counter([&now] { return now; });
    const auto tickAt = [&](const QList<qint64>& times) {
        for (qint64 time : times) {
            now = time;
            counter.Tick();
        }
    };
    tickAt(before);
    now = 0;
    counter.Begin();
    tickAt(ticks);
    QCOMPARE(counter.TicksPerSecond(), 0.0); // not before End
    now = end;
    counter.End();
    tickAt(after);

    QCOMPARE(counter.Ticks(), counted);
    QCOMPARE(counter.TicksPerSecond(), perSecond);
    QCOMPARE(counter.LargestGapNanoseconds(), largestGap);
}

QTEST_APPLESS_MAIN(CadenceCounterTest)
#include "tst_cadence_counter.moc"
