#pragma once
// The Zip64 extended information extra field (id 0x0001). It holds, in this
// order, the uncompressed size, the compressed size, the local header
// offset (8 bytes each) and the starting disk (4 bytes), each only when the
// header's own field is saturated (0xFFFFFFFF, or 0xFFFF for the disk).

#include <cstdint>
#include <string>
#include <string_view>

namespace zipcore {

// Which header fields are saturated and live in the Zip64 field.
enum Zip64Field : uint8_t {
    kZip64Uncompressed = 1,
    kZip64Compressed = 2,
    kZip64Offset = 4,
    kZip64Disk = 8
};

struct Zip64Values {
    uint64_t uncompressedSize = 0;
    uint64_t compressedSize = 0;
    uint64_t localHeaderOffset = 0;
    uint32_t diskStart = 0;
};

// The bytes the given fields take in the Zip64 field.
size_t zip64DataSize(uint8_t fields);

// Reads the listed fields, in their order, from the Zip64 field of extra
// into values (the others are left alone). False when extra has no Zip64
// field or it is too short for them.
bool readZip64Extra(std::string_view extra, uint8_t fields, Zip64Values& values);

// extra with its Zip64 field holding exactly the listed fields. A field
// already there with room for them is rewritten in place (anything after
// the listed values is kept, so an unchanged entry keeps its bytes); else
// a new one takes its place, or goes first when there was none. With no
// fields, extra is returned unchanged.
std::string withZip64Extra(std::string_view extra, uint8_t fields, const Zip64Values& values);

// The Zip64 field of a local header: both sizes, always (the header's
// offset and disk are never there).
std::string localZip64Extra(uint64_t uncompressedSize, uint64_t compressedSize);

} // namespace zipcore
