#pragma once
// One entry of an archive's central directory, as the directory reader found
// it: the header fields copied unchanged, then the converted name and comment.

#include <QString>
#include <cstdint>

namespace brx {

struct ZipDirEntry {
    uint8_t VersionMadeBy = 0;
    uint8_t HostSystem = 0;
    uint16_t VersionNeeded = 0;
    uint16_t GeneralFlags = 0; // bit 0 encrypted, bit 3 data descriptor, bit 11 UTF-8
    uint16_t CompressionMethod = 0;
    uint32_t DateTime = 0; // DOS time in the low word, DOS date in the high word
    uint32_t CRC32 = 0;
    uint64_t CompressedSize = 0; // from the Zip64 field when the header's is saturated
    uint64_t UncompressedSize = 0;
    uint16_t FileNameLength = 0;
    uint16_t ExtraFieldLength = 0;
    uint16_t FileCommentLength = 0;
    uint32_t DiskNumberStart = 0;
    uint16_t InternalAttributes = 0;
    uint32_t ExternalAttributes = 0;
    uint64_t LocalHeaderOffset = 0;
    QString FileName; // "/" separated
    QString FileComment;
    bool Encrypted = false;
};

} // namespace brx
