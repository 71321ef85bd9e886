#include "FieldHash.h"

namespace net {

namespace {

constexpr std::uint64_t OffsetBasis = 0xcbf29ce484222325ull;
constexpr std::uint64_t Prime = 0x100000001b3ull;

void Mix(std::uint64_t& hash, std::uint8_t byte)
{
    hash = (hash ^ byte) * Prime;
}

void MixLittleEndian(std::uint64_t& hash, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        Mix(hash, std::uint8_t(value >> (8 * i)));
}

} // namespace

std::uint64_t FieldHash(const QImage& anyImage, const ShownRecords& records)
{
    // The field's own format is read as it is; anything else is read as it.
    const QImage image = anyImage.format() == QImage::Format_RGB32
        ? anyImage
        : anyImage.convertToFormat(QImage::Format_RGB32);
    std::uint64_t hash = OffsetBasis;
    MixLittleEndian(hash, std::uint32_t(image.width()), 4);
    MixLittleEndian(hash, std::uint32_t(image.height()), 4);
    // The colour of each pixel as the game compares it, whatever the image's
    // format or byte order: the field's unused alpha byte is left out.
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            MixLittleEndian(hash, line[x] & 0xFFFFFF, 3);
    }
    for (const ShownRecord& record : records) {
        MixLittleEndian(hash, std::uint16_t(record.score), 2);
        Mix(hash, record.dead);
    }
    return hash;
}

} // namespace net
