#include "Timing.h"

#include <QLoggingCategory>

#include <chrono>

namespace net {

namespace {

Q_LOGGING_CATEGORY(TimingLog, "klikvar.timing", QtInfoMsg)

} // namespace

void NoteTiming(const char* what, std::uint32_t number)
{
    if (!TimingLog().isDebugEnabled())
        return;
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    qCDebug(TimingLog, "timing %s %u %lld", what, unsigned(number), static_cast<long long>(now.count()));
}

} // namespace net
