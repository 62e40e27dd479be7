#pragma once
// Where and how large the central directory is, from the end record and,
// when a Zip64 locator sits right before it, from the Zip64 end record it
// points to (its 64-bit counts, size and offset replace the saturated
// classic ones). Every reader takes the directory's bounds from here.

#include "zipcore/EndRecord.h"
#include "zipcore/ZipInput.h"

#include <cstdint>
#include <string>

namespace zipcore {

// The Zip64 end of central directory record ("PK\6\6").
struct Zip64EndRecord {
    uint64_t recordSize = kZip64EndRecordSize; // the bytes after this field
    uint16_t versionMadeBy = 45;
    uint16_t versionNeeded = 45;
    uint32_t thisDisk = 0;
    uint32_t centralDisk = 0;
    uint64_t entriesOnDisk = 0;
    uint64_t totalEntries = 0;
    uint64_t centralSize = 0;
    uint64_t centralOffset = 0;

    static constexpr uint64_t kZip64EndRecordSize = 44; // without extensible data
};

// The Zip64 end of central directory locator ("PK\6\7").
struct Zip64Locator {
    uint32_t endDisk = 0;
    uint64_t endOffset = 0; // as stored: a prefix may have moved the record
    uint32_t totalDisks = 1;
};

struct DirectoryEnd {
    bool zip64 = false;
    uint32_t thisDisk = 0;
    uint32_t centralDisk = 0;
    uint64_t entriesOnDisk = 0;
    uint64_t totalEntries = 0;
    uint64_t centralSize = 0;
    uint64_t centralOffset = 0; // as stored
    // Where the central directory ends in the file: the Zip64 end record's
    // true position, or the end record's.
    uint64_t directoryEnd = 0;
    Zip64EndRecord record64; // zip64 only
    Zip64Locator locator;    // zip64 only
};

struct DirectoryEndResult {
    bool ok = false;
    std::string error; // why the Zip64 records were refused, in the engine's English
    DirectoryEnd end;
};

// The directory's bounds from the end record found at location. A Zip64
// locator must point to a Zip64 end record inside the file, right before
// the locator, and the classic fields that are not saturated must agree
// with the Zip64 ones; anything else is refused as damage.
DirectoryEndResult resolveDirectoryEnd(ZipInput& input, const EndRecordLocation& location);

// Readers of the 56-byte Zip64 end record (signature included) and the
// 20-byte locator; false when short or of another signature.
bool parseZip64EndRecord(const unsigned char* data, size_t size, Zip64EndRecord& out);
bool parseZip64Locator(const unsigned char* data, size_t size, Zip64Locator& out);

// Writers of both, and of the whole end of an archive written at once: the
// Zip64 end record and locator when the count, the size or the offset need
// them, then the end record with those fields saturated.
std::string zip64EndRecordBytes(const Zip64EndRecord& record);
std::string zip64LocatorBytes(const Zip64Locator& locator);
bool directoryNeedsZip64(uint64_t entryCount, uint64_t centralSize, uint64_t centralOffset);
std::string directoryEndBytes(uint64_t entryCount, uint64_t centralSize, uint64_t centralOffset,
                              const std::string& comment);

} // namespace zipcore
