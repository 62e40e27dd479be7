#pragma once
// Builds the records the archive writer emits: local headers, central
// headers and the end records, from one description of an entry. Zip64
// fields are written only where a value needs them.

#include <cstdint>
#include <string>

namespace zipcore {

// Everything a central header says about an entry.
struct WrittenEntry {
    uint16_t versionMadeBy = 0;
    uint16_t versionNeeded = 10;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc32 = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    uint64_t localHeaderOffset = 0;
    std::string name;
    std::string centralExtra;
    std::string comment;
    uint8_t zip64Fields = 0; // Zip64Field bits an entry copied from an archive had saturated
    bool localZip64 = false; // the local header carries its sizes in a Zip64 field
};

// Offset of the CRC inside a local header; CRC and both sizes follow it.
inline constexpr uint32_t kLocalCrcOffset = 14;

std::string localHeaderBytes(const WrittenEntry& entry);
// The central header; saturated fields go to a Zip64 field, and the version
// needed to extract rises to 4.5 when the entry did not need Zip64 before.
std::string centralHeaderBytes(const WrittenEntry& entry);
// The Zip64 end record and locator when the count exceeds 65,535 or the
// size or offset reach 4 GiB, then the end record.
std::string endRecordBytes(uint64_t entryCount, uint64_t centralSize, uint64_t centralOffset,
                           const std::string& comment);
// CRC and sizes as they sit at kLocalCrcOffset, for patching a local header.
std::string localSizesBytes(const WrittenEntry& entry);
// For a local header with a Zip64 field: where its two sizes sit in the
// header, and their bytes.
uint64_t localZip64SizesOffset(const WrittenEntry& entry);
std::string localZip64SizesBytes(const WrittenEntry& entry);

} // namespace zipcore
