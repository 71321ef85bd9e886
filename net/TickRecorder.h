#pragma once

#include "DrawingObserver.h"
#include "Packet.h"
#include "Screens.h"
#include "TrailEnds.h"

#include <functional>

namespace net {

// On the host: stands in front of the windows' Screens and listens to the
// playfield, noting in order everything a tick draws and shows, while the
// host's own windows show it as ever.
class TickRecorder final : public Screens, public DrawingObserver
{
public:
    // winnerRow: the name and colour of a winner's scoreboard row.
    // beforeWinners: the winner window opens from inside the tick and
    // returns only once the next match has started, so what the tick did
    // up to then must go out first.
    TickRecorder(Screens& shown, std::function<WinnerRow(std::int16_t)> winnerRow,
                 std::function<void()> beforeWinners);

    // What was noted since the last call, as parts of this tick number
    // that each fit a datagram; none when nothing was.
    QList<Tick> TakeTick(std::uint32_t number);
    // Whatever a joined computer knew of the trails is void from the next
    // tick on (it joined, or its field was replaced).
    void StartFresh();

    void SegmentDrawn(double x1, double y1, double x2, double y2, ColorRef color) override;
    void FrameDrawn(int x1, int y1, int x2, int y2, ColorRef color) override;
    void BoxFilled(int x1, int y1, int x2, int y2, ColorRef color) override;
    void Cleared() override;

    void ShowScore(std::int16_t slot, const QString& text) override;
    void SetBannerCaption(const QString& caption) override;
    void SetBannerVisible(bool visible) override;
    void SetCreditColor(ColorRef color) override;
    void HeadDied(std::int16_t slot) override;
    void ShowWinners(const QList<std::int16_t>& winners) override;
    bool PassThroughOn() const override { return shown.PassThroughOn(); }
    bool CaveInsOn() const override { return shown.CaveInsOn(); }
    QString RoundsText() const override { return shown.RoundsText(); }

private:
    Screens& shown;
    std::function<WinnerRow(std::int16_t)> winnerRow;
    std::function<void()> beforeWinners;
    QList<Event> events;
    TrailEnds trails;
    bool fresh = true;
};

// Cuts one tick's events into parts that each encode in a batch of their
// own, in order; an event that cannot travel at all (a label beyond its
// bound) is left out.
QList<Tick> SplitTick(std::uint32_t number, const QList<Event>& events, bool fresh);

} // namespace net
