#pragma once
// Little-endian fields of ZIP records read out of a byte buffer.

#include <QByteArray>
#include <cstdint>

namespace brx {

inline uint16_t le16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint16_t(b[0] | (b[1] << 8));
}

inline uint32_t le32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

inline constexpr uint32_t kEndRecordSig = 0x06054b50;     // "PK\5\6"
inline constexpr uint32_t kCentralHeaderSig = 0x02014b50; // "PK\1\2"
inline constexpr uint32_t kLocalHeaderSig = 0x04034b50;   // "PK\3\4"
inline constexpr uint32_t kSpanMarkerSig = 0x08074b50;    // "PK\7\8"
inline constexpr uint32_t kZip64LocatorSig = 0x07064b50;  // "PK\6\7"
inline constexpr int kEndRecordSize = 22;
inline constexpr int kCentralHeaderSize = 46;
inline constexpr int kZip64LocatorSize = 20;
inline constexpr int kMaxCommentLength = 65535;

} // namespace brx
