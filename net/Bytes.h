#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace net {

// Appends fixed-width little-endian fields, so both ends agree whatever
// their byte order.
class ByteWriter
{
public:
    void U8(std::uint8_t value);
    void U16(std::uint16_t value);
    void I16(std::int16_t value);
    // The low three bytes of a number within ±2^23.
    void I24(std::int32_t value);
    void U32(std::uint32_t value);
    void U64(std::uint64_t value);
    void F32(float value);
    void F64(double value);
    // A length byte, then the UTF-8 bytes. A text over 255 bytes wraps its
    // length; Encode checks every message by decoding it again.
    void Text(const QString& text);
    void Raw(QByteArrayView bytes);

    const QByteArray& Bytes() const { return bytes; }

private:
    QByteArray bytes;
};

// Reads what ByteWriter wrote from untrusted bytes: every read checks what is
// left, and after the first short read every further read fails too, so a
// decoder checks Ok() once at the end.
class ByteReader
{
public:
    explicit ByteReader(QByteArrayView bytes) : bytes(bytes) {}

    std::uint8_t U8();
    std::uint16_t U16();
    std::int16_t I16();
    std::int32_t I24();
    std::uint32_t U32();
    std::uint64_t U64();
    float F32();
    double F64();
    // Refuses more than maxBytes, invalid UTF-8, control characters and more
    // than maxChars characters (as the setup window's boxes count them).
    std::optional<QString> Text(qsizetype maxBytes, qsizetype maxChars);
    QByteArrayView Raw(qsizetype size);

    bool Ok() const { return ok; }
    bool AtEnd() const { return ok && pos == bytes.size(); }
    void Fail() { ok = false; }

private:
    std::uint64_t Unsigned(int size);

    QByteArrayView bytes;
    qsizetype pos = 0;
    bool ok = true;
};

} // namespace net
