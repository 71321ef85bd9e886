// The game as players meet it: how long the setup window takes to appear,
// then, with six players and both options off, how regularly the game
// window's timer ticks for ten seconds, and what the whole process costs
// meanwhile in CPU and memory.
//
// Needs an X display with a window manager; bench/run.sh starts both.
// Options:
//   --launched-at=NS  when the process was launched, in nanoseconds since
//                     the epoch (date +%s%N); without it no start-up time
//   --seconds=N       length of the measured stretch, 10 unless given
//   --controllers=N   N virtual game controllers plugged in before Start;
//                     with any, one more is plugged in a third of the way
//                     through the stretch and unplugged at two thirds
// Prints one "name value" line per figure.

#include "CadenceCounter.h"
#include "PlatformChoice.h"
#include "PlayfieldView.h"
#include "RandomSource.h"
#include "Session.h"
#include "Startup.h"
#include "VirtualPad.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <fstream>
#include <optional>
#include <string>

namespace {

// Lets the game settle after its window opens before anything is counted.
constexpr int SettleMs = 1000;

std::int64_t SteadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t RealtimeNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// User and system time of every thread of the process.
std::int64_t ProcessCpuNanoseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto nanoseconds = [](const timeval& t) {
        return std::int64_t(t.tv_sec) * 1'000'000'000 + std::int64_t(t.tv_usec) * 1000;
    };
    return nanoseconds(usage.ru_utime) + nanoseconds(usage.ru_stime);
}

// A "VmRSS:"-style line of /proc/self/status, in MiB.
double StatusMiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string name;
    double kiB = 0;
    while (status >> name) {
        if (name == field + ':' && status >> kiB)
            return kiB / 1024;
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

std::optional<long long> Option(const QString& name)
{
    const QString prefix = QStringLiteral("--") + name + u'=';
    for (const QString& argument : QCoreApplication::arguments()) {
        if (!argument.startsWith(prefix))
            continue;
        bool ok = false;
        const long long value = argument.mid(prefix.size()).toLongLong(&ok);
        if (ok)
            return value;
    }
    return std::nullopt;
}

// Records the moment the setup window first paints, then fills it in and
// presses Start, as players would.
class SetupPlayer : public QObject
{
public:
    SetupPlayer(Session& session, std::optional<long long> launchedAt)
        : session(session), launchedAt(launchedAt)
    {
        session.form2.installEventFilter(this);
    }

    std::optional<double> startupMs;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &session.form2 && event->type() == QEvent::Paint) {
            session.form2.removeEventFilter(this);
            if (launchedAt)
                startupMs = double(RealtimeNanoseconds() - *launchedAt) / 1e6;
            // After the paint, inside the setup window's own loop.
            QTimer::singleShot(0, this, [this] { ChooseAndStart(); });
        }
        return false;
    }

private:
    void ChooseAndStart()
    {
        Form2& setup = session.form2;
        // In order: a player joins only after the one before.
        for (QCheckBox* player : setup.Check1)
            player->setChecked(true);
        for (QCheckBox* option : setup.Check2)
            option->setChecked(false);
        // Far more rounds than ten seconds can hold: no winner window.
        setup.Text2->setText(QStringLiteral("30000"));
        const QPointF at(10, 10);
        QMouseEvent press(QEvent::MouseButtonPress, at, setup.Label2[0]->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(setup.Label2[0], &press);
    }

    Session& session;
    std::optional<long long> launchedAt;
};

// Counts the playfield's repaints: showing the trails is most of what the
// process spends.
class RepaintCounter : public QObject
{
public:
    explicit RepaintCounter(QWidget& widget) { widget.installEventFilter(this); }

    int repaints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++repaints;
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    // Where the start-up time goes: loading, the application, the windows.
    const std::int64_t enteredMain = RealtimeNanoseconds();
    // The game's own start-up, as in app/main.cpp.
    SetScreenScaling();
    ChoosePlatform(argc, argv);
    QApplication app = OpenDisplay(argc, argv);
    DeclareProgram();

    const std::int64_t applicationReady = RealtimeNanoseconds();
    ClockSeededRandom random;
    Session session(random, [] {
        std::fputs("the game ended before the measurement did\n", stderr);
        std::fflush(nullptr);
        std::_Exit(EXIT_FAILURE);
    });
    const std::int64_t windowsBuilt = RealtimeNanoseconds();
    // Plugged in after the session has started SDL, unplugged before it ends.
    const auto controllers = std::size_t(Option(QStringLiteral("controllers")).value_or(0));
    std::deque<VirtualPad> pads(controllers);
    const std::optional<long long> launchedAt = Option(QStringLiteral("launched-at"));
    SetupPlayer players(session, launchedAt);
    session.Form1_Load();

    const QList<int> steered = session.controllers.Slots();
    if (steered.size() != qsizetype(pads.size()) || steered.contains(-1)) {
        std::fputs("not every virtual controller took a player at Start\n", stderr);
        return EXIT_FAILURE;
    }
    if (session.match.LastPlayer != 5 || session.view.PassThroughOn() || session.view.CaveInsOn()) {
        std::fputs("the match did not start with six players and both options off\n", stderr);
        return EXIT_FAILURE;
    }

    CadenceCounter counter(SteadyNanoseconds);
    RepaintCounter playfield(*session.form1.Picture1);
    int roundsRestarted = 0;
    int ticksWaitingForSpace = 0;
    bool spacePressed = false;
    // Connected after the session's own handler, so it sees each tick's outcome.
    QObject::connect(&session.form1.Timer1, &QTimer::timeout, &session.form1, [&] {
        counter.Tick();
        if (!session.game.Paused) {
            spacePressed = false;
            return;
        }
        ++ticksWaitingForSpace;
        if (spacePressed || !session.form1.Label4->isVisible())
            return;
        // Queued to the game window, which hands keys to its focus widget.
        QWindow* window = session.form1.windowHandle();
        QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space,
                                                          Qt::NoModifier, QStringLiteral(" ")));
        QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space,
                                                          Qt::NoModifier, QStringLiteral(" ")));
        spacePressed = true;
        ++roundsRestarted;
    });

    const long long seconds = Option(QStringLiteral("seconds")).value_or(10);
    if (controllers > 0) {
        QTimer::singleShot(SettleMs + int(seconds * 1000 / 3), &app, [&pads] { pads.emplace_back(); });
        QTimer::singleShot(SettleMs + int(seconds * 2000 / 3), &app, [&pads] { pads.back().Unplug(); });
    }
    std::int64_t wallBefore = 0;
    std::int64_t cpuBefore = 0;
    QTimer::singleShot(SettleMs, Qt::PreciseTimer, &app, [&] {
        counter.Begin();
        roundsRestarted = 0;
        playfield.repaints = 0;
        ticksWaitingForSpace = 0;
        wallBefore = SteadyNanoseconds();
        cpuBefore = ProcessCpuNanoseconds();
    });
    QTimer::singleShot(SettleMs + int(seconds * 1000), Qt::PreciseTimer, &app, [&] {
        counter.End();
        const double cpuShare = double(ProcessCpuNanoseconds() - cpuBefore)
                              / double(SteadyNanoseconds() - wallBefore);
        if (players.startupMs) {
            const auto msSinceLaunch = [&](std::int64_t at) { return double(at - *launchedAt) / 1e6; };
            std::printf("startup_ms %.1f\n", *players.startupMs);
            std::printf("startup_main_entered_ms %.1f\n", msSinceLaunch(enteredMain));
            std::printf("startup_application_ready_ms %.1f\n", msSinceLaunch(applicationReady));
            std::printf("startup_windows_built_ms %.1f\n", msSinceLaunch(windowsBuilt));
        }
        std::printf("controllers %zu\n", controllers);
        std::printf("ticks %d\n", counter.Ticks());
        std::printf("ticks_per_second %.2f\n", counter.TicksPerSecond());
        std::printf("largest_gap_ms %.2f\n", double(counter.LargestGapNanoseconds()) / 1e6);
        std::printf("cpu_percent %.2f\n", cpuShare * 100);
        std::printf("rss_mib %.1f\n", StatusMiB("VmRSS"));
        std::printf("hwm_mib %.1f\n", StatusMiB("VmHWM"));
        std::printf("repaints_per_second %.1f\n", double(playfield.repaints) / double(seconds));
        std::printf("rounds_restarted %d\n", roundsRestarted);
        std::printf("ticks_waiting_for_space %d\n", ticksWaitingForSpace);
        std::fflush(stdout);
        QCoreApplication::exit(counter.Ticks() > 1 ? EXIT_SUCCESS : EXIT_FAILURE);
    });
    return QApplication::exec();
}
