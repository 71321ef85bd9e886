#pragma once

#include <cstdint>

namespace net {

// With QT_LOGGING_RULES="klikvar.timing.debug=true" the moments that make
// up network play's latency go to standard error, one line each:
// "timing <what> <number> <microseconds>", microseconds on the machine's
// monotonic clock, so the lines of a host and a joined computer on one
// machine compare directly. The latency benchmark reads them; off, they
// cost a flag test.
void NoteTiming(const char* what, std::uint32_t number);

} // namespace net
