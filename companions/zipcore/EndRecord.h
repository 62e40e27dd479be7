#pragma once
// The end-of-central-directory record and the one search for it that every
// reader of the program uses: the engine's directory reader, the
// self-extractor conversions, the volume copier, both libraries and the stub.

#include "zipcore/ZipInput.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zipcore {

struct EndRecord {
    uint16_t thisDisk = 0;
    uint16_t centralDisk = 0;
    uint16_t entriesOnDisk = 0;
    uint16_t totalEntries = 0;
    uint32_t centralSize = 0;
    uint32_t centralOffset = 0;
    uint16_t commentLength = 0;
};

// The last bytes of a file that can hold the end record: the record and
// the longest comment.
inline constexpr uint32_t kEndRecordSearchSpan = 22 + 0xFFFF;

// Reads the 22 bytes of an end record, signature included; false when they
// are short or do not start with "PK\5\6".
bool parseEndRecord(const unsigned char* data, size_t size, EndRecord& out);
// The 22 bytes of record, for writers that rewrite one.
std::string serializeEndRecord(const EndRecord& record);

// Where the end record lies in tail, the last bytes of a file (at most
// kEndRecordSearchSpan of them, ending at the end of the file).
//
// A record whose comment ends exactly at the end of the file is preferred;
// when several do, the later ones lie inside the first one's comment (an
// archive comment may hold "PK\5\6" and even a whole fake record) and the
// first one wins. Only when no record ends the file (bytes were appended
// after the archive) is the record nearest the end whose comment fits in the
// file taken. A hit whose comment would run past the end is no record.
// (Nothing else about a hit is judged here: on the last volume of a set the
// directory lies on earlier volumes, so its size may exceed the file.)
std::optional<size_t> findEndRecordIn(const unsigned char* tail, size_t size);

struct EndRecordLocation {
    uint64_t offset = 0; // of the record in the file
    EndRecord record;
    std::string comment;     // as stored, all of it
    uint64_t commentEnd = 0; // the logical end of the archive
    uint64_t fileSize = 0;

    uint64_t trailingBytes() const { return fileSize - commentEnd; }
};

enum class EndSearchStatus {
    Found,
    NotFound, // no end record in the last kEndRecordSearchSpan bytes
    ReadError // the input could not be read
};

struct EndSearch {
    EndSearchStatus status = EndSearchStatus::NotFound;
    EndRecordLocation location;
    bool found() const { return status == EndSearchStatus::Found; }
};

// One read of the last kEndRecordSearchSpan bytes (or of the whole file
// when it is shorter): the record found in the last 22 bytes might itself
// sit inside a comment, so the whole span is always looked at.
EndSearch findEndRecord(ZipInput& input);

} // namespace zipcore
