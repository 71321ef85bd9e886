#pragma once

#include "Packet.h"

#include <QImage>

#include <optional>

namespace net {

// The host's whole playfield image, compressed and cut into chunks for the
// reliable channel; nothing if it would take more than MaxRepairChunks.
QList<RepairChunk> SplitRepair(const QImage& field, std::uint32_t tick);

// Puts a joined computer's repair back together from chunks in any order.
// What the host sent is untrusted: the image must come out exactly the
// playfield's size, and nothing is decompressed before that is known, so a
// small packet can never make it allocate more.
class RepairAssembler
{
public:
    // The image once every chunk of a repair is in; a chunk of a newer
    // repair drops the pieces of an older one.
    std::optional<QImage> Add(const RepairChunk& chunk);

private:
    std::optional<QImage> Assemble();

    std::uint32_t tick = 0;
    QList<QByteArray> pieces; // by index, empty until received
    QList<bool> received;
    int missing = 0;
};

} // namespace net
