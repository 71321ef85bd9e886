#include "Fakes.h"
#include "Playfield.h"
#include "RandomSource.h"

#include <QtTest>

class PlayfieldTest : public QObject
{
    Q_OBJECT

private slots:
    void readsBeyondTheSurfaceAreOffField_data();
    void readsBeyondTheSurfaceAreOffField();
    void pixelAheadRoundsHalvesToEven_data();
    void pixelAheadRoundsHalvesToEven();
    void probeReadsThePixelAhead();
    void boxesReachOnePixelPastTheTopLeftCorner();
    void drawingPastTheEdgeIsClipped();
    void clearingLeavesNothingOfTheRound();
    void segmentsKeepTheirExactColour();
    void segmentsReachHalfAPixelBackAndStopAtTheHead_data();
    void segmentsReachHalfAPixelBackAndStopAtTheHead();
    void copyingOnlyTheChangedAreaKeepsAViewExact_data();
    void copyingOnlyTheChangedAreaKeepsAViewExact();
};

void PlayfieldTest::readsBeyondTheSurfaceAreOffField_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("inside");
    QTest::newRow("left of it") << -1 << 200 << false;
    QTest::newRow("above it") << 200 << -1 << false;
    QTest::newRow("right of it") << 450 << 200 << false;
    QTest::newRow("below it") << 200 << 450 << false;
    QTest::newRow("far away") << -100000 << 100000 << false;
    QTest::newRow("top-left pixel") << 0 << 0 << true;
    QTest::newRow("bottom-right pixel") << 449 << 449 << true;
}

void PlayfieldTest::readsBeyondTheSurfaceAreOffField()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(bool, inside);
    Playfield field;
    QCOMPARE(field.ReadPixel(x, y), inside ? Black : OffField);
}

void PlayfieldTest::pixelAheadRoundsHalvesToEven_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("dx");
    QTest::addColumn<float>("dy");
    QTest::addColumn<QPoint>("ahead");
    QTest::newRow("still along x, half rounds down to even") << 112.5f << 100.f << 0.f << 0.7f << QPoint(112, 101);
    QTest::newRow("still along x, half rounds up to even") << 113.5f << 100.f << 0.f << 0.7f << QPoint(114, 101);
    QTest::newRow("moving right onto a half") << 111.5f << 100.f << 0.9f << 0.1f << QPoint(112, 101);
    QTest::newRow("moving left onto a half") << 114.5f << 100.f << -0.9f << 0.1f << QPoint(114, 101);
    QTest::newRow("y half, moving up") << 50.f << 200.5f << 0.3f << -0.9f << QPoint(51, 200);
    QTest::newRow("straight down along the axis") << 200.3f << 200.3f << 0.f << 0.9f << QPoint(200, 201);
    QTest::newRow("straight up along the axis") << 200.3f << 200.3f << 0.f << -0.9f << QPoint(200, 199);
    QTest::newRow("straight right along the axis") << 200.6f << 200.6f << 1.1f << 0.f << QPoint(202, 201);
    QTest::newRow("straight left along the axis") << 200.6f << 200.6f << -1.1f << 0.f << QPoint(200, 201);
    QTest::newRow("diagonal up-left") << 10.2f << 10.2f << -0.5f << -0.5f << QPoint(9, 9);
    QTest::newRow("minus a half rounds to zero") << 0.5f << 300.f << -0.6f << 0.f << QPoint(0, 300);
    QTest::newRow("a runaway head stays off the field") << 1e30f << -1e30f << 1.f << -1.f << QPoint(451, -451);
}

void PlayfieldTest::pixelAheadRoundsHalvesToEven()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, dx);
    QFETCH(float, dy);
    QFETCH(QPoint, ahead);
    PlayerRecord head;
    head.X = x;
    head.Y = y;
    head.DX = dx;
    head.DY = dy;
    QCOMPARE(PixelAhead(head), ahead);
}

void PlayfieldTest::probeReadsThePixelAhead()
{
    Playfield field;
    field.FillBox(300, 300, 301, 301, PlayerColors[2]); // pixels 299..301
    PlayerRecord head;
    head.DX = 0.8f;
    head.DY = 0.f;
    head.X = 298.4f; // ahead is x 299.4 -> 299
    head.Y = 300.f;
    QCOMPARE(ProbeAhead(field, head), PlayerColors[2]);
    head.X = 297.4f; // ahead is 298: still black
    QCOMPARE(ProbeAhead(field, head), Black);
    head.X = 449.6f; // ahead is 451: beyond the right edge
    QCOMPARE(ProbeAhead(field, head), OffField);
}

void PlayfieldTest::boxesReachOnePixelPastTheTopLeftCorner()
{
    Playfield field;
    field.FillBox(100, 100, 120, 120, PlayerColors[1]);
    QCOMPARE(field.ReadPixel(99, 99), PlayerColors[1]);
    QCOMPARE(field.ReadPixel(120, 120), PlayerColors[1]);
    QCOMPARE(field.ReadPixel(110, 110), PlayerColors[1]);
    QCOMPARE(field.ReadPixel(98, 110), Black);
    QCOMPARE(field.ReadPixel(121, 110), Black);
    QCOMPARE(field.ReadPixel(110, 121), Black);

    // The outline alone: both sides of each edge, nothing inside.
    field.DrawFrame(200, 200, 220, 220, White);
    for (int edge : {199, 200, 219, 220}) {
        QCOMPARE(field.ReadPixel(edge, 210), White);
        QCOMPARE(field.ReadPixel(210, edge), White);
    }
    QCOMPARE(field.ReadPixel(210, 210), Black);
    QCOMPARE(field.ReadPixel(198, 210), Black);
    QCOMPARE(field.ReadPixel(221, 210), Black);
}

void PlayfieldTest::drawingPastTheEdgeIsClipped()
{
    Playfield field;
    field.FillBox(440, 440, 460, 460, PlayerColors[0]);
    QCOMPARE(field.ReadPixel(449, 449), PlayerColors[0]);
    QCOMPARE(field.ReadPixel(439, 439), PlayerColors[0]);
    QCOMPARE(field.ReadPixel(438, 449), Black);
    field.DrawSegment(-30, 5, 480, 5, PlayerColors[3]);
    QCOMPARE(field.ReadPixel(0, 5), PlayerColors[3]);
    QCOMPARE(field.ReadPixel(449, 5), PlayerColors[3]);
}

void PlayfieldTest::clearingLeavesNothingOfTheRound()
{
    Playfield field;
    field.DrawFrame(0, 0, 448, 448, White);
    field.DrawSegment(3, 3, 446, 446, PlayerColors[5]);
    field.FillBox(440, 0, 460, 20, PlayerColors[4]);
    field.ClearPlayfield();
    const QImage& image = field.Image();
    for (int y = 0; y < Playfield::Size; ++y)
        for (int x = 0; x < Playfield::Size; ++x)
            QVERIFY2(field.ReadPixel(x, y) == Black, qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
    QCOMPARE(image.size(), QSize(450, 450));
}

void PlayfieldTest::segmentsKeepTheirExactColour()
{
    // Slanted lines of every colour crossing each other: aliased drawing
    // must leave only the colours that were drawn, never a blend.
    Playfield field;
    for (int i = 0; i < 60; ++i) {
        const double a = i * 0.37;
        field.DrawSegment(225, 225, 225 + 200 * std::sin(a), 225 + 200 * std::cos(a),
                          PlayerColors[i % 6]);
    }
    QSet<ColorRef> seen;
    for (int y = 0; y < Playfield::Size; ++y)
        for (int x = 0; x < Playfield::Size; ++x)
            seen.insert(field.ReadPixel(x, y));
    QSet<ColorRef> drawn(PlayerColors.begin(), PlayerColors.end());
    drawn.insert(Black);
    QCOMPARE(seen, drawn);
}

void PlayfieldTest::segmentsReachHalfAPixelBackAndStopAtTheHead_data()
{
    // A level segment along y = 100 from x1 to x2; does it paint the pixel
    // in column x (pixel centres lie at x + 0.5)?
    QTest::addColumn<double>("x1");
    QTest::addColumn<double>("x2");
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("painted");
    QTest::newRow("tail: a quarter of a pixel back is covered") << 100.75 << 110.0 << 100 << true;
    QTest::newRow("tail: three quarters back is not") << 100.25 << 110.0 << 99 << false;
    QTest::newRow("head: a quarter of a pixel short is not") << 100.0 << 110.25 << 110 << false;
    QTest::newRow("head: a quarter beyond is") << 100.0 << 110.75 << 110 << true;
}

// The tail reaches half a pixel back over the segment before, so a bend
// leaves no notch; the head is cut flat where the head is.
void PlayfieldTest::segmentsReachHalfAPixelBackAndStopAtTheHead()
{
    QFETCH(double, x1);
    QFETCH(double, x2);
    QFETCH(int, x);
    QFETCH(bool, painted);
    Playfield field;
    field.DrawSegment(x1, 100, x2, 100, PlayerColors[0]);
    // The 2-pixel pen covers the rows on both sides of the line.
    for (int y : {99, 100})
        QCOMPARE(field.ReadPixel(x, y), painted ? PlayerColors[0] : Black);
    QCOMPARE(field.ReadPixel(x, 101), Black);
}

// A view that repaints only what the field reports as changed must never
// fall behind it: trails crossing the frame, cave-ins cutting it, clears.
void PlayfieldTest::copyingOnlyTheChangedAreaKeepsAViewExact_data()
{
    QTest::addColumn<int>("ticksPerLook");
    QTest::newRow("after every tick") << 1;
    QTest::newRow("now and then") << 150;
}

void PlayfieldTest::copyingOnlyTheChangedAreaKeepsAViewExact()
{
    QFETCH(int, ticksPerLook);
    BusyMatch busy(11);
    Module1& match = busy.match;
    Game& game = busy.game;

    QImage view(Playfield::Size, Playfield::Size, QImage::Format_RGB32);
    view.fill(Qt::darkGray);
    QPainter copier(&view);
    copier.setCompositionMode(QPainter::CompositionMode_Source);
    long long repaintedPixels = 0;
    int rounds = 0;
    for (int tick = 0; tick < 20000; ++tick) {
        match.Players[tick / 200 % 6].TurnLeft = tick % 500 < 250;
        game.Tick();
        if (game.StartNextRound())
            ++rounds;
        if (tick % ticksPerLook != 0)
            continue;
        for (const QRect& changed : game.Field().TakeChanged()) {
            copier.drawImage(changed.topLeft(), game.Field().Image(), changed);
            repaintedPixels += changed.width() * changed.height();
        }
        if ((ticksPerLook > 1 || tick % 97 == 0) && view != game.Field().Image())
            QFAIL(qPrintable(QStringLiteral("view differs after tick %1").arg(tick)));
    }
    for (const QRect& changed : game.Field().TakeChanged())
        copier.drawImage(changed.topLeft(), game.Field().Image(), changed);
    QVERIFY(rounds > 5);
    QCOMPARE(view, game.Field().Image());
    // Far less than repainting the whole field every tick.
    if (ticksPerLook == 1)
        QVERIFY(repaintedPixels < 20000LL * Playfield::Size * Playfield::Size / 20);
}

QTEST_GUILESS_MAIN(PlayfieldTest)
#include "tst_playfield.moc"
