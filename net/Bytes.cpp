#include "Bytes.h"

#include <QStringDecoder>

#include <bit>

namespace net {

namespace {

void Append(QByteArray& bytes, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char(value >> (8 * i) & 0xFF));
}

bool HasControlCharacter(const QString& text)
{
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format)
            return true;
    }
    return false;
}

} // namespace

void ByteWriter::U8(std::uint8_t value) { Append(bytes, value, 1); }
void ByteWriter::U16(std::uint16_t value) { Append(bytes, value, 2); }
void ByteWriter::I16(std::int16_t value) { Append(bytes, std::uint16_t(value), 2); }
void ByteWriter::I24(std::int32_t value) { Append(bytes, std::uint32_t(value) & 0xFFFFFFu, 3); }
void ByteWriter::U32(std::uint32_t value) { Append(bytes, value, 4); }
void ByteWriter::U64(std::uint64_t value) { Append(bytes, value, 8); }
void ByteWriter::F32(float value) { Append(bytes, std::bit_cast<std::uint32_t>(value), 4); }
void ByteWriter::F64(double value) { Append(bytes, std::bit_cast<std::uint64_t>(value), 8); }

void ByteWriter::Text(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    U8(std::uint8_t(utf8.size()));
    bytes.append(utf8);
}

void ByteWriter::Raw(QByteArrayView raw) { bytes.append(raw); }

std::uint64_t ByteReader::Unsigned(int size)
{
    if (!ok || bytes.size() - pos < size) {
        ok = false;
        return 0;
    }
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= std::uint64_t(std::uint8_t(bytes[pos + i])) << (8 * i);
    pos += size;
    return value;
}

std::uint8_t ByteReader::U8() { return std::uint8_t(Unsigned(1)); }
std::uint16_t ByteReader::U16() { return std::uint16_t(Unsigned(2)); }
std::int16_t ByteReader::I16() { return std::int16_t(std::uint16_t(Unsigned(2))); }
std::int32_t ByteReader::I24()
{
    const auto value = std::int32_t(Unsigned(3));
    return value >= 0x800000 ? value - 0x1000000 : value;
}
std::uint32_t ByteReader::U32() { return std::uint32_t(Unsigned(4)); }
std::uint64_t ByteReader::U64() { return Unsigned(8); }
float ByteReader::F32() { return std::bit_cast<float>(std::uint32_t(Unsigned(4))); }
double ByteReader::F64() { return std::bit_cast<double>(Unsigned(8)); }

QByteArrayView ByteReader::Raw(qsizetype size)
{
    if (!ok || size < 0 || bytes.size() - pos < size) {
        ok = false;
        return {};
    }
    const QByteArrayView raw = bytes.sliced(pos, size);
    pos += size;
    return raw;
}

std::optional<QString> ByteReader::Text(qsizetype maxBytes, qsizetype maxChars)
{
    const std::uint8_t size = U8();
    if (size > maxBytes) {
        ok = false;
        return std::nullopt;
    }
    const QByteArrayView utf8 = Raw(size);
    if (!ok)
        return std::nullopt;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError() || text.size() > maxChars || HasControlCharacter(text)) {
        ok = false;
        return std::nullopt;
    }
    return text;
}

} // namespace net
