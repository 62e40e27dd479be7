#pragma once
// The one archive builder of every test program: builds ZIP archives byte
// by byte, including ones no honest writer would produce: every field a
// reader must distrust can be forced.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ziptest {

struct BuildEntry {
    std::string name;
    std::string data;        // the file's bytes
    uint16_t method = 8;     // 0 stored, 8 deflated, anything else is written as given
    std::string password;    // non-empty: traditional encryption
    uint16_t extraFlags = 0; // or-ed into the general purpose flags
    uint8_t host = 3;
    uint8_t version = 20; // low byte of "version made by"
    uint32_t unixMode = 0100644;
    uint16_t dosTime = 0x6000;                  // 12:00:00
    uint16_t dosDate = 0x5821;                  // 2024-01-01
    std::string extra;                          // central and local extra field
    std::optional<uint32_t> declaredSize;       // lie about the uncompressed size
    std::optional<uint32_t> declaredCompressed; // lie about the compressed size
    std::optional<uint32_t> crc;                // lie about the CRC
    std::optional<std::string> payload;         // write these bytes as the compressed data
    std::optional<uint32_t> localOffset;        // point the central header elsewhere
    std::string comment;                        // entry comment (central header)
    bool dataDescriptor = false; // CRC and sizes after the data; zeros in the local header
    // Sizes (and the central offset) saturated, their values in Zip64 fields
    // of both headers; an 8-byte descriptor with dataDescriptor.
    bool zip64 = false;
    std::optional<uint64_t> localZip64Size; // lie about the size in the local Zip64 field
    bool zip64Missing = false;              // zip64 without any Zip64 field
};

struct BuildOptions {
    std::string prefix; // bytes in front (a self-extractor stub)
    bool rebase = true; // offsets count the prefix, as after "zip -A"
    std::string comment;
    std::string trailing;                  // bytes after the end record
    bool zip64Locator = false;             // put a Zip64 locator before the end record
    std::optional<uint16_t> declaredCount; // lie about the number of entries
    // A Zip64 end record and locator; the end record's fields saturated.
    bool zip64End = false;
    std::optional<uint64_t> zip64Count;         // lie about the count in the Zip64 record
    std::optional<uint64_t> zip64EndOffset;     // lie about where the Zip64 record is
    std::optional<uint32_t> classicCentralSize; // the end record's size field, given as is
};

std::string deflateRaw(const std::string& data);
std::string buildZip(const std::vector<BuildEntry>& entries, const BuildOptions& options = {});

} // namespace ziptest
