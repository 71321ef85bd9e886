#include "InputGate.h"

namespace net {

bool InputGate::Accept(ComputerId from, const Input& input)
{
    if (from == HostComputer || !seats.MaySteer(from, input.player))
        return false;
    Seen& seen = last[input.player - 1];
    // Newer in serial-number order, so the count may wrap in a long match. A
    // seat just handed to this computer takes its numbers as they come.
    if (seen.from == from && std::int32_t(input.sequence - seen.sequence) <= 0)
        return false;
    seen = {from, input.sequence};
    return true;
}

void InputGate::Forget(ComputerId computer)
{
    for (Seen& seen : last) {
        if (seen.from == computer)
            seen = {};
    }
}

} // namespace net
