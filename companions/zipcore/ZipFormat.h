#pragma once
// Fixed facts of the ZIP format (PKWARE APPNOTE): signatures, record sizes,
// flags and methods, and the MS-DOS date/time used in headers.

#include <cstdint>
#include <ctime>

namespace zipcore {

inline constexpr uint32_t kLocalHeaderSig = 0x04034b50;    // "PK\3\4"
inline constexpr uint32_t kCentralHeaderSig = 0x02014b50;  // "PK\1\2"
inline constexpr uint32_t kEndOfCentralSig = 0x06054b50;   // "PK\5\6"
inline constexpr uint32_t kDataDescriptorSig = 0x08074b50; // "PK\7\8", also the spanned-set marker
inline constexpr uint32_t kZip64EndSig = 0x06064b50;
inline constexpr uint32_t kZip64LocatorSig = 0x07064b50;
inline constexpr uint32_t kSpanMarkerTemp = 0x30304b50; // "PK00": a set that ended up on one disk

inline constexpr uint32_t kLocalHeaderSize = 30;
inline constexpr uint32_t kCentralHeaderSize = 46;
inline constexpr uint32_t kEndOfCentralSize = 22;
inline constexpr uint32_t kMaxCommentSize = 0xFFFF;
inline constexpr uint32_t kMaxEntries = 0xFFFF;           // without Zip64
inline constexpr uint64_t kMaxFieldValue = 0xFFFFFFFFull; // sizes and offsets without Zip64
inline constexpr uint16_t kMaxDiskValue = 0xFFFF;         // disk numbers without Zip64
inline constexpr uint32_t kZip64EndSize = 56;             // without extensible data
inline constexpr uint32_t kZip64LocatorSize = 20;
inline constexpr uint16_t kVersionZip64 = 45;

inline constexpr uint16_t kFlagEncrypted = 0x0001;
inline constexpr uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr uint16_t kFlagStrongEncryption = 0x0040;
inline constexpr uint16_t kFlagUtf8 = 0x0800;

inline constexpr uint16_t kMethodStored = 0;
inline constexpr uint16_t kMethodDeflated = 8;
inline constexpr uint16_t kMethodAes = 99;

inline constexpr uint8_t kHostMsDos = 0;
inline constexpr uint8_t kHostUnix = 3;
inline constexpr uint8_t kHostNtfs = 11;
inline constexpr uint16_t kExtraZip64 = 0x0001;
inline constexpr uint16_t kExtraAes = 0x9901;

inline constexpr uint32_t kEncryptionHeaderSize = 12;

// MS-DOS date and time as stored in headers: time in the low 16 bits.
struct DosDateTime {
    uint16_t time = 0;
    uint16_t date = 0;
    uint32_t packed() const { return (static_cast<uint32_t>(date) << 16) | time; }
};

// Local time of t; years before 1980 become 1980-01-01 00:00:00.
DosDateTime toDosDateTime(std::time_t t);
// Back to a time_t in local time; -1 for a date that cannot be one.
std::time_t fromDosDateTime(uint16_t date, uint16_t time);

} // namespace zipcore
