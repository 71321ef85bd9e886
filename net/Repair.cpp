#include "Repair.h"

#include "Playfield.h"

#include <QtEndian>

#include <cstring>

namespace net {

namespace {

constexpr qsizetype LineBytes = qsizetype(Playfield::Size) * 4;
constexpr qsizetype ImageBytes = LineBytes * Playfield::Size;

} // namespace

QList<RepairChunk> SplitRepair(const QImage& field, std::uint32_t tick)
{
    const QImage image = field.convertToFormat(QImage::Format_RGB32);
    if (image.size() != QSize(Playfield::Size, Playfield::Size))
        return {};
    QByteArray raw;
    raw.reserve(ImageBytes);
    for (int y = 0; y < image.height(); ++y)
        raw.append(reinterpret_cast<const char*>(image.constScanLine(y)), LineBytes);
    // qCompress puts the raw size first, big-endian; Assemble checks it.
    const QByteArray packed = qCompress(raw);
    const qsizetype count = (packed.size() + MaxRepairPayload - 1) / MaxRepairPayload;
    if (count > MaxRepairChunks)
        return {};
    QList<RepairChunk> chunks;
    for (qsizetype i = 0; i < count; ++i)
        chunks.append({tick, std::uint16_t(i), std::uint16_t(count), packed.mid(i * MaxRepairPayload, MaxRepairPayload)});
    return chunks;
}

std::optional<QImage> RepairAssembler::Add(const RepairChunk& chunk)
{
    if (chunk.count < 1 || chunk.count > MaxRepairChunks || chunk.index >= chunk.count)
        return std::nullopt;
    if (chunk.tick != tick || chunk.count != pieces.size()) {
        // Another repair: start again. An older one's late chunk restarts
        // too, and the repair it belongs to is asked for again on the next
        // hash that differs.
        tick = chunk.tick;
        pieces = QList<QByteArray>(chunk.count);
        received = QList<bool>(chunk.count, false);
        missing = chunk.count;
    }
    if (received[chunk.index])
        return std::nullopt;
    received[chunk.index] = true;
    pieces[chunk.index] = chunk.payload;
    if (--missing > 0)
        return std::nullopt;
    std::optional<QImage> image = Assemble();
    pieces.clear();
    received.clear();
    return image;
}

std::optional<QImage> RepairAssembler::Assemble()
{
    const QByteArray packed = pieces.join();
    if (packed.size() < 4 || qFromBigEndian<quint32>(packed.constData()) != ImageBytes)
        return std::nullopt;
    const QByteArray raw = qUncompress(packed);
    if (raw.size() != ImageBytes)
        return std::nullopt;
    QImage image(Playfield::Size, Playfield::Size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::memcpy(line, raw.constData() + y * LineBytes, size_t(LineBytes));
        // An RGB32 image's unused byte must be 0xFF, whatever was sent.
        for (int x = 0; x < image.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    return image;
}

} // namespace net
