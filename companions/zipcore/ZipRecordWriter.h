#pragma once
// Builds the records the archive writer emits: local headers, central
// headers and the end record, from one description of an entry.

#include <cstdint>
#include <string>

namespace zipcore {

// Everything a central header says about an entry. Offsets and sizes are
// 32-bit: the writer refuses what does not fit before it gets here.
struct WrittenEntry {
    uint16_t versionMadeBy = 0;
    uint16_t versionNeeded = 10;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc32 = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    uint32_t localHeaderOffset = 0;
    std::string name;
    std::string centralExtra;
    std::string comment;
};

// Offset of the CRC inside a local header; CRC and both sizes follow it.
inline constexpr uint32_t kLocalCrcOffset = 14;

std::string localHeaderBytes(const WrittenEntry& entry);
std::string centralHeaderBytes(const WrittenEntry& entry);
std::string endRecordBytes(uint16_t entryCount, uint32_t centralSize, uint32_t centralOffset,
                           const std::string& comment);
// CRC and sizes as they sit at kLocalCrcOffset, for patching a local header.
std::string localSizesBytes(const WrittenEntry& entry);

} // namespace zipcore
