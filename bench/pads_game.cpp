// The game itself (app/main.cpp is built into this program too) with virtual
// game controllers from SDL's virtual joystick driver plugged in before it
// starts, for bench/idle.sh: such controllers exist only inside the process
// that makes them. KLIKVAR_BENCH_CONTROLLERS says how many, 2 unless set.

#include "VirtualPad.h"

#include <QtGlobal>

#include <deque>

namespace {

std::size_t Controllers()
{
    bool set = false;
    const int count = qEnvironmentVariableIntValue("KLIKVAR_BENCH_CONTROLLERS", &set);
    return set ? std::size_t(count) : 2;
}

// Made before main() runs, in this order; the game ends the process without
// taking them down. SDL leaves Ctrl+C and the end of the session to the game,
// as the game asks it to.
const SDL_bool noSignalHandlers = SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
ControllerSupport support;
std::deque<VirtualPad> pads(Controllers());

} // namespace
