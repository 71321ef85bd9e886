// A UDP relay on the loopback that delays and drops datagrams, standing in
// for a slow, lossy network where the kernel offers no traffic shaping. One
// computer's datagrams to 127.0.0.1:LISTEN go to the host at 127.0.0.1:TO,
// the host's answers back to that computer, each after DELAY ms one way and
// each dropped with probability LOSS. For the latency benchmark only.
//
//   klikvar_lossy_relay --listen A --to B [--delay D] [--loss P] [--seed S]
//
// On SIGTERM or SIGINT it prints, on standard error, how many datagrams went
// each way, how many were dropped and how late the forwarded ones left.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> stopAsked{false};

void AskToStop(int)
{
    stopAsked = true;
}

struct Held {
    Clock::time_point due;
    QByteArray data;
};

// One direction: datagrams wait in arrival order, which with one fixed delay
// is also the order they fall due, so one timer set to the oldest serves all.
class Direction {
public:
    Direction(QUdpSocket& out, std::chrono::microseconds delay, double loss, std::mt19937_64& random)
        : out(out)
        , delay(delay)
        , dropped(loss)
        , random(random)
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] { SendDue(); });
    }

    void Take(const QByteArray& data, const QHostAddress& to, quint16 port)
    {
        ++taken;
        if (dropped(random)) {
            ++lost;
            return;
        }
        address = to;
        this->port = port;
        held.push_back({Clock::now() + delay, data});
        if (held.size() == 1)
            SendDue();
    }

    void Report(const char* name) const
    {
        std::vector<long long> late = lateness;
        std::sort(late.begin(), late.end());
        const auto at = [&late](double share) {
            return late.empty() ? 0LL : late[std::size_t(share * double(late.size() - 1))];
        };
        std::fprintf(stderr, "relay %s taken %lld dropped %lld sent %zu late-us median %lld p99 %lld max %lld\n",
                     name, taken, lost, late.size(), at(0.5), at(0.99), late.empty() ? 0LL : late.back());
    }

private:
    void SendDue()
    {
        const Clock::time_point now = Clock::now();
        while (!held.empty() && held.front().due <= now) {
            out.writeDatagram(held.front().data, address, port);
            lateness.push_back(
                std::chrono::duration_cast<std::chrono::microseconds>(now - held.front().due).count());
            held.pop_front();
        }
        if (held.empty())
            return;
        // Qt's timers count whole milliseconds: round up, never leave early.
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(held.front().due - now);
        timer.start(int(wait.count()));
    }

    QUdpSocket& out;
    std::chrono::microseconds delay;
    std::bernoulli_distribution dropped;
    std::mt19937_64& random;
    QTimer timer;
    std::deque<Held> held;
    QHostAddress address;
    quint16 port = 0;
    long long taken = 0;
    long long lost = 0;
    std::vector<long long> lateness;
};

quint16 PortOption(const QCommandLineParser& parser, const QString& name)
{
    bool ok = false;
    const uint value = parser.value(name).toUInt(&ok);
    if (!ok || value == 0 || value > 65535) {
        std::fprintf(stderr, "klikvar_lossy_relay: --%s needs a port from 1 to 65535\n", qPrintable(name));
        std::exit(2);
    }
    return quint16(value);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"listen", "Port on 127.0.0.1 the joining computer sends to.", "port"});
    parser.addOption({"to", "The host's port on 127.0.0.1.", "port"});
    parser.addOption({"delay", "One-way delay in milliseconds, each direction.", "ms", "0"});
    parser.addOption({"loss", "Probability of dropping each datagram, 0 to 1.", "share", "0"});
    parser.addOption({"seed", "Seed of the drops, for a repeatable run.", "number", "1"});
    parser.process(app);

    const quint16 listenPort = PortOption(parser, "listen");
    const quint16 hostPort = PortOption(parser, "to");
    bool delayOk = false;
    bool lossOk = false;
    bool seedOk = false;
    const double delayMs = parser.value("delay").toDouble(&delayOk);
    const double loss = parser.value("loss").toDouble(&lossOk);
    const qulonglong seed = parser.value("seed").toULongLong(&seedOk);
    if (!delayOk || delayMs < 0 || !lossOk || loss < 0 || loss > 1 || !seedOk) {
        std::fprintf(stderr, "klikvar_lossy_relay: --delay needs milliseconds >= 0, --loss a share from 0 to 1, "
                             "--seed a whole number\n");
        return 2;
    }

    QUdpSocket fromComputer;
    QUdpSocket toHost;
    if (!fromComputer.bind(QHostAddress::LocalHost, listenPort)
        || !toHost.bind(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "klikvar_lossy_relay: cannot bind 127.0.0.1:%u\n", unsigned(listenPort));
        return 1;
    }

    std::mt19937_64 random(seed);
    const auto delay = std::chrono::microseconds(std::llround(delayMs * 1000));
    Direction up(toHost, delay, loss, random);
    Direction down(fromComputer, delay, loss, random);
    // ENet speaks from one port, so the latest sender is the one computer.
    QHostAddress computer;
    quint16 computerPort = 0;

    QObject::connect(&fromComputer, &QUdpSocket::readyRead, [&] {
        while (fromComputer.hasPendingDatagrams()) {
            const QNetworkDatagram datagram = fromComputer.receiveDatagram();
            computer = datagram.senderAddress();
            computerPort = quint16(datagram.senderPort());
            up.Take(datagram.data(), QHostAddress::LocalHost, hostPort);
        }
    });
    QObject::connect(&toHost, &QUdpSocket::readyRead, [&] {
        while (toHost.hasPendingDatagrams()) {
            const QNetworkDatagram datagram = toHost.receiveDatagram();
            if (computerPort != 0)
                down.Take(datagram.data(), computer, computerPort);
        }
    });

    // A signal handler may only set a flag; the loop looks at it now and then.
    std::signal(SIGTERM, AskToStop);
    std::signal(SIGINT, AskToStop);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, [&app] {
        if (stopAsked)
            app.quit();
    });
    stopWatch.start(100);

    const int status = app.exec();
    up.Report("to-host");
    down.Report("to-computer");
    return status;
}
