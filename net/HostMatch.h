#pragma once

#include "HostLink.h"
#include "TickRecorder.h"

struct Module1;
class Playfield;

namespace net {

// The host's part in a match over the network, between the rules and the
// windows: what a tick drew and showed goes out to every joined computer
// as the tick ends, a hash check once a second, and what they send comes in.
class HostMatch
{
public:
    // shown: the host's own windows. winnerRow: the name and colour of a
    // winner's scoreboard row.
    HostMatch(Transport& transport, HostFacts facts, Screens& shown,
              std::function<WinnerRow(std::int16_t)> winnerRow);

    // What the rules show through, in front of the windows.
    Screens& RulesScreens() { return recorder; }
    // The field the rules draw on, from now on heard and sent.
    void Watch(Playfield& field);

    // A tick has run on match.
    void EndTick(const Module1& match);
    // Handles what arrived; also while no tick runs.
    void Serve();

    HostLink& Link() { return link; }
    const HostLink& Link() const { return link; }

    static constexpr int TicksPerCheck = 100; // a second

private:
    HostLink link;
    TickRecorder recorder;
    const Playfield* field = nullptr;
    std::uint32_t ticks = 0;
};

// What a hash check carries of each player.
ShownRecords RecordsOf(const Module1& match);

} // namespace net
