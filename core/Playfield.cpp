#include "Playfield.h"

#include "Module1.h"
#include "Rounding.h"

#include <algorithm>
#include <utility>

namespace {

int Sign(float value)
{
    return (value > 0) - (value < 0);
}

} // namespace

Playfield::Playfield()
    : image(Size, Size, QImage::Format_RGB32)
    , changed{image.rect()}
    , drawnSinceFrame{image.rect()}
{
    image.fill(Qt::black);
    // One painter for the life of the field: opening one per segment would
    // cost more than the drawing itself.
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
}

void Playfield::DrawSegment(double x1, double y1, double x2, double y2, ColorRef color)
{
    // Flat caps at both ends. At the head a segment stops exactly where the
    // head is, so the probe one pixel ahead of a head that goes straight
    // never finds its own trail. At the tail it starts half a pixel back
    // over the previous segment: on a curve the next segment sets off at a
    // slight angle, and starting right at the joint would leave a sliver of
    // the bend's outer side unpainted, a notch a crossing head can slip
    // through. No further back, or a head closing its circle would meet its
    // own tail sooner.
    constexpr double TailReach = 0.5;
    if (observer)
        observer->SegmentDrawn(x1, y1, x2, y2, color);
    const QLineF segment(x1, y1, x2, y2);
    QLineF stroke = segment;
    if (segment.length() > 0) {
        const QPointF along = (segment.p2() - segment.p1()) / segment.length();
        stroke.setP1(segment.p1() - along * TailReach);
    }
    painter.setPen(QPen(ToQColor(color), PenWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(stroke);
    // The pen reaches one pixel beyond the line; one more for rounding.
    constexpr int Reach = PenWidth;
    const QRectF span = QRectF(stroke.p1(), stroke.p2()).normalized();
    Touch(span.toAlignedRect().adjusted(-Reach, -Reach, Reach, Reach));
}

// A box edge drawn with the 2-pixel pen covers the pixel row or column on
// each side of the line: for an edge at x, columns x - 1 and x. Boxes have
// whole-pixel corners, so their outlines are filled as plain rectangles,
// many times faster than stroking them.
void Playfield::DrawFrame(int x1, int y1, int x2, int y2, ColorRef color)
{
    if (observer)
        observer->FrameDrawn(x1, y1, x2, y2, color);
    const QRect box = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    const QColor fill = ToQColor(color);
    const int outer = PenWidth / 2;
    const QRect band = box.adjusted(-outer, -outer, 0, 0);
    if (band != lastFrame || color != lastFrameColor)
        drawnSinceFrame = {image.rect()};
    lastFrame = band;
    lastFrameColor = color;
    const QRect edges[] = {
        QRect(band.left(), band.top(), band.width(), PenWidth),
        QRect(band.left(), box.bottom() - outer, band.width(), PenWidth),
        QRect(band.left(), band.top(), PenWidth, band.height()),
        QRect(box.right() - outer, band.top(), PenWidth, band.height()),
    };
    for (const QRect& edge : edges) {
        painter.fillRect(edge, fill);
        for (const QRect& drawn : drawnSinceFrame) {
            const QRect repaired = drawn & edge;
            if (!repaired.isEmpty())
                changed.append(repaired);
        }
    }
    drawnSinceFrame.clear();
}

void Playfield::FillBox(int x1, int y1, int x2, int y2, ColorRef color)
{
    if (observer)
        observer->BoxFilled(x1, y1, x2, y2, color);
    Fill(x1, y1, x2, y2, color);
}

void Playfield::Fill(int x1, int y1, int x2, int y2, ColorRef color)
{
    const QRect box = QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
    const int outer = PenWidth / 2;
    const QRect area = box.adjusted(-outer, -outer, 0, 0);
    painter.fillRect(area, ToQColor(color));
    Touch(area);
}

void Playfield::ClearPlayfield()
{
    if (observer)
        observer->Cleared();
    Fill(0, 0, Size, Size, Black);
}

bool Playfield::Restore(const QImage& picture)
{
    if (picture.size() != image.size())
        return false;
    painter.drawImage(0, 0, picture);
    // Every pixel may differ now, the frame's among them.
    changed = {image.rect()};
    drawnSinceFrame = {image.rect()};
    return true;
}

QList<QRect> Playfield::TakeChanged()
{
    return std::exchange(changed, QList<QRect>());
}

void Playfield::Touch(const QRect& area)
{
    const QRect inside = area & image.rect();
    if (inside.isEmpty())
        return;
    // Left unasked for long, the lists would only grow; the whole field says
    // the same in one rectangle.
    constexpr qsizetype MostAreasKept = 256;
    for (QList<QRect>* areas : {&changed, &drawnSinceFrame}) {
        if (areas->size() >= MostAreasKept)
            *areas = {image.rect()};
        else
            areas->append(inside);
    }
}

ColorRef Playfield::ReadPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Size || y >= Size)
        return OffField;
    const QRgb rgb = reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
    return MakeColorRef(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QPoint PixelAhead(const PlayerRecord& player)
{
    // Kept to just beyond the field so a runaway value cannot overflow an int.
    constexpr double Beyond = Playfield::Size + 1;
    const double aheadX = std::clamp(double(player.X) + Sign(player.DX), -Beyond, Beyond);
    const double aheadY = std::clamp(double(player.Y) + Sign(player.DY), -Beyond, Beyond);
    return QPoint(RoundHalfEven(aheadX), RoundHalfEven(aheadY));
}

ColorRef ProbeAhead(const Playfield& field, const PlayerRecord& player)
{
    const QPoint ahead = PixelAhead(player);
    return field.ReadPixel(ahead.x(), ahead.y());
}
