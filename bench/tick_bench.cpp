// CPU time of one game tick with six living players drawing and both
// options on. Prints the median, the 99th percentile and the mean.

#include "Game.h"
#include "Module1.h"
#include "RandomSource.h"
#include "Screens.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <numeric>
#include <vector>

namespace {

class QuietScreens final : public Screens
{
public:
    void ShowScore(std::int16_t, const QString&) override {}
    void SetBannerCaption(const QString&) override {}
    void SetBannerVisible(bool) override {}
    void SetCreditColor(ColorRef) override {}
    bool PassThroughOn() const override { return true; }
    bool CaveInsOn() const override { return true; }
    QString RoundsText() const override { return QStringLiteral("25"); }
    void ShowWinners(const QList<std::int16_t>&) override {}
};

double ThreadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

} // namespace

int main(int argc, char** argv)
{
    const int ticks = argc > 1 ? std::max(1000, std::atoi(argv[1])) : 20000;

    Module1 match;
    match.AssignPlayerColors();
    match.LastPlayer = 5;
    match.Level = 1;
    QuietScreens screens;
    ClockSeededRandom random(12345);
    Game game(match, screens, random);
    game.Field().ClearPlayfield();
    match.StartRound(random);
    // Everyone circles in pass-through: all six stay alive and keep drawing
    // for the whole run, crossing trails and the cave-in squares.
    for (PlayerRecord& p : match.Players) {
        p.TurnLeft = true;
        p.PassTicks = 32000;
    }

    std::vector<double> costs;
    costs.reserve(ticks);
    for (int i = 0; i < ticks; ++i) {
        const double before = ThreadCpuMicroseconds();
        game.Tick();
        // The game window takes the changed area after every tick.
        const QList<QRect> changed = game.Field().TakeChanged();
        costs.push_back(ThreadCpuMicroseconds() - before);
    }

    const int alive = int(std::count_if(match.Players.begin(), match.Players.end(),
                                        [](const PlayerRecord& p) { return !p.Dead; }));
    std::sort(costs.begin(), costs.end());
    const double median = costs[costs.size() / 2];
    const double p99 = costs[costs.size() * 99 / 100];
    const double mean = std::accumulate(costs.begin(), costs.end(), 0.0) / double(costs.size());
    std::printf("ticks %d, players alive at the end %d\n", ticks, alive);
    std::printf("tick CPU time: median %.2f us, p99 %.2f us, mean %.2f us\n", median, p99, mean);
    return alive == 6 ? 0 : 1;
}
