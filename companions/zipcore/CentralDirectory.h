#pragma once
// The central directory walk: every central header of the directory's bytes
// parsed into entries, with the count of the end record checked against
// what the directory really holds.

#include "zipcore/ByteOrder.h"
#include "zipcore/ZipReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zipcore {

enum class CentralError {
    None,
    TruncatedHeader,  // fewer than 46 bytes where a header should be
    BadSignature,     // the bytes there are no central header
    TruncatedName,    // the header's name runs past the directory
    TruncatedExtra,   // its extra field does
    TruncatedComment, // its comment does
    CountMismatch     // the end record's count disagrees with the headers found
};

// Parses one central header (signature included) at the cursor into entry;
// saturated sizes, offset and disk take their values from the Zip64 field
// (an entry whose Zip64 field lacks them is marked, not refused here).
CentralError readCentralHeader(ByteCursor& cursor, ZipEntry& entry);

// The lengths of what follows the 46 fixed bytes of a central header.
struct TrailingLengths {
    uint16_t name = 0;
    uint16_t extra = 0;
    uint16_t comment = 0;
};

// The 46 fixed bytes alone (for readers that take the name, extra field and
// comment one at a time): signature, the entry's fixed fields, the lengths.
// False when fewer than 46 bytes are there.
bool readCentralFixed(ByteCursor& cursor, uint32_t& signature, ZipEntry& entry,
                      TrailingLengths& lengths);
// The 46 fixed bytes of entry with the given lengths; the fields of
// entry.zip64FieldsToWrite() are saturated.
std::string centralFixedBytes(const ZipEntry& entry, const TrailingLengths& lengths);

// A local header's 30 fixed bytes.
struct LocalHeader {
    uint32_t signature = 0;
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc32 = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint16_t nameLength = 0;
    uint16_t extraLength = 0;
};
bool readLocalHeader(ByteCursor& cursor, LocalHeader& header);

struct CentralWalk {
    CentralError error = CentralError::None;
    size_t failedEntry = 0; // 1-based number of the header that failed
    size_t headersFound = 0;
    uint64_t storedCount = 0;
    bool ok() const { return error == CentralError::None; }
    // Why the directory was refused, in the engine's English.
    std::string message() const;
};

// Walks the directory's bytes. The headers found there are the truth: the
// 16-bit count of a classic end record may have wrapped past 65,535 (a
// writer that knew no Zip64), so a count that agrees modulo 65,536 with a
// directory read to its last byte reads every header; a Zip64 count
// (exactCount) must agree exactly. Any other disagreement refuses the
// directory instead of listing part of it. Entries parsed before a failure
// stay in out.
CentralWalk walkCentralDirectory(const unsigned char* data, size_t size, uint64_t storedCount,
                                 std::vector<ZipEntry>& out, bool exactCount = false);

} // namespace zipcore

namespace zipcore {

// The central header of entry as it was read, every field kept; its Zip64
// field holds the entry's values (added when one no longer fits).
std::string serializeCentralHeader(const ZipEntry& entry);

// The directory of entries with shift added to every local-header offset
// (a prefix put in front of the archive or taken away); false when an offset
// would leave the 32-bit field.
bool shiftedCentralDirectory(const std::vector<ZipEntry>& entries, int64_t shift, std::string& out);

} // namespace zipcore
