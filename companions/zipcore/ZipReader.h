#pragma once
// Reads a ZIP archive's directory: finds the end record (also behind a
// self-extractor prefix, a comment or trailing garbage), parses the central
// directory into entries and locates each entry's data after checking its
// local header. Nothing here trusts a size or an offset it has not checked.

#include "zipcore/ZipInput.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zipcore {

struct ZipEntry {
    uint16_t versionMadeBy = 0; // low byte version, high byte host
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc32 = 0;
    uint64_t compressedSize = 0; // from the Zip64 field when the header's is saturated
    uint64_t uncompressedSize = 0;
    uint32_t diskStart = 0;
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    uint64_t localHeaderOffset = 0; // as stored
    uint8_t zip64Fields = 0;        // Zip64Field bits: header fields read as saturated
    bool zip64Missing = false;      // saturated fields without their Zip64 values: damaged
    std::string name;               // raw bytes as stored
    std::string extra;
    std::string comment;
    bool overlapsAnother = false; // its data shares bytes with another entry

    uint8_t hostSystem() const { return static_cast<uint8_t>(versionMadeBy >> 8); }
    bool isEncrypted() const;
    bool isUtf8() const;
    bool isDirectory() const;  // name ends with "/" (or "\" from DOS hosts)
    bool isSymlink() const;    // Unix host with a link mode
    uint32_t unixMode() const; // 0 unless written on Unix
    // The Zip64Field bits a central header of this entry saturates: those
    // read saturated (kept, so that the header keeps its bytes) and those
    // whose value does not fit the header's own field.
    uint8_t zip64FieldsToWrite() const;
    bool hasAesExtra() const;
};

struct ZipDirectory {
    std::vector<ZipEntry> entries;
    std::string comment; // raw bytes
    uint64_t endRecordOffset = 0;
    uint64_t centralStart = 0; // true position of the central directory
    uint64_t storedCentralOffset = 0;
    bool zip64 = false; // the directory is described by a Zip64 end record
    bool garbageAfterEnd = false;

    // Added to stored offsets when a prefix was put in front without
    // rebasing them (0 for a plain archive).
    int64_t offsetShift() const {
        return static_cast<int64_t>(centralStart) - static_cast<int64_t>(storedCentralOffset);
    }
};

struct DirectoryResult {
    bool ok = false;
    std::string error; // why the directory could not be read
};

DirectoryResult readDirectory(ZipInput& input, ZipDirectory& out);

struct DataLocation {
    bool ok = false;
    uint64_t offset = 0; // first byte of the entry's (possibly encrypted) data
    std::string error;
    uint64_t headerOffset = 0; // where its local header starts
    bool localZip64 = false;   // the local header has a Zip64 field: 8-byte descriptor sizes
};

inline constexpr const char* kMissingZip64Text = "the central directory lacks its Zip64 sizes";

// Checks the entry's local header and that its data lies inside the archive.
DataLocation locateEntryData(ZipInput& input, const ZipDirectory& dir, const ZipEntry& entry);

// The end of the entry's whole record (data and data descriptor) whose data
// starts at location; false when the descriptor would run into the directory.
bool entryRecordEnd(ZipInput& input, const ZipDirectory& dir, const ZipEntry& entry,
                    const DataLocation& location, uint64_t& end);

} // namespace zipcore
