#include "engine/span/SpanRecords.h"

namespace brx {

uint16_t getLe16(const QByteArray& bytes, int pos) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + pos;
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t getLe32(const QByteArray& bytes, int pos) {
    return getLe16(bytes, pos) | (static_cast<uint32_t>(getLe16(bytes, pos + 2)) << 16);
}

void setLe16(QByteArray& bytes, int pos, uint16_t value) {
    bytes[pos] = static_cast<char>(value & 0xFF);
    bytes[pos + 1] = static_cast<char>(value >> 8);
}

void setLe32(QByteArray& bytes, int pos, uint32_t value) {
    setLe16(bytes, pos, static_cast<uint16_t>(value & 0xFFFF));
    setLe16(bytes, pos + 2, static_cast<uint16_t>(value >> 16));
}

QByteArray le32Bytes(uint32_t value) {
    QByteArray bytes(4, '\0');
    setLe32(bytes, 0, value);
    return bytes;
}

} // namespace brx
