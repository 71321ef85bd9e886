// Writes one packet of each kind, made by the encoder, into the folder
// given: the fuzzer's starting corpus.
#include "Packet.h"
#include "Repair.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace net;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_seeds FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    Tick tick{77, {DrawSegment{10.5, 20.25, 11, 21, 0x00FF00}, DrawFrame{0, 0, 449, 449, White},
        FillBox{1, 2, 30, 40, 0xFF00FF}, ClearPlayfield{}, ShowScore{5, QStringLiteral("12")},
        BannerCaption{QStringLiteral("Kolo 2")}, BannerVisible{true}, CreditColor{0x00FFFF}, HeadDied{3},
        Winners{{{QStringLiteral("Žofie 9"), 0x0000FF}}}, ContinueSegment{2, 12.5, 22}, StepSegment{1, 4000, -70000}}};
    Tick part{78, {ContinueSegment{0, 13, 23}}, 3, false, true};
    QImage blank(450, 450, QImage::Format_RGB32);
    blank.fill(Qt::black);
    QList<Message> messages = {
        Hello{QStringLiteral("1.00.0007"), 4711, QStringLiteral("Čestmír"), 2, false},
        Welcome{2, 0b001100},
        Refusal{RefusalReason::OtherVersion, QStringLiteral("1.00.0007"), QStringLiteral("1.00.0008")},
        SeatMap{{HostComputer, HostComputer, 1, 1, 2, NoComputer}},
        Input{3, true, false, 12345},
        TickBatch{{tick, part}},
        HashCheck{500, 0x0123456789ABCDEFull, {{{2, false}, {1, true}}}},
        RepairRequest{500},
        RepairChunk{500, 1, 3, QByteArray("compressed image bytes")},
        Goodbye{GoodbyeReason::HostEndedMatch},
        Players{{QStringLiteral("Adam"), QStringLiteral("Bára")}},
        NextRound{},
        ResendRequest{77},
        DiscoveryRequest{},
        DiscoveryAnswer{QStringLiteral("pracovna"), 3, 3, 24724, QStringLiteral("1.00.0007")},
    };
    for (const RepairChunk& chunk : SplitRepair(blank, 501))
        messages.append(chunk);
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const QByteArray bytes = Encode(messages[i]);
        QFile file(folder.filePath(QStringLiteral("seed-%1").arg(i)));
        if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "write_seeds: seed %lld not written\n", static_cast<long long>(i));
            return 1;
        }
    }
    return 0;
}
