#pragma once

#include "Packet.h"

#include <QImage>

#include <cstdint>

namespace net {

// FNV-1a over the playfield's pixels and the shown player records: what a
// joined computer compares every second with the host's. Stable across
// builds and machines (only the pixels' colour bytes, never row padding or
// pointer values), and any single pixel or score changes it.
std::uint64_t FieldHash(const QImage& image, const ShownRecords& records);

} // namespace net
