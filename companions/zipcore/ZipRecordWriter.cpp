#include "zipcore/ZipRecordWriter.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/CentralDirectory.h"
#include "zipcore/ZipFormat.h"

namespace zipcore {

std::string localHeaderBytes(const WrittenEntry& entry) {
    std::string out;
    out.reserve(kLocalHeaderSize + entry.name.size());
    append32(out, kLocalHeaderSig);
    append16(out, entry.versionNeeded);
    append16(out, entry.flags);
    append16(out, entry.method);
    append16(out, entry.dosTime);
    append16(out, entry.dosDate);
    out += localSizesBytes(entry);
    append16(out, static_cast<uint16_t>(entry.name.size()));
    append16(out, 0); // no local extra field
    out += entry.name;
    return out;
}

std::string localSizesBytes(const WrittenEntry& entry) {
    std::string out;
    append32(out, entry.crc32);
    append32(out, entry.compressedSize);
    append32(out, entry.uncompressedSize);
    return out;
}

std::string centralHeaderBytes(const WrittenEntry& entry) {
    // The fixed part is laid out once, by the directory code's serializer.
    ZipEntry fixed;
    fixed.versionMadeBy = entry.versionMadeBy;
    fixed.versionNeeded = entry.versionNeeded;
    fixed.flags = entry.flags;
    fixed.method = entry.method;
    fixed.dosTime = entry.dosTime;
    fixed.dosDate = entry.dosDate;
    fixed.crc32 = entry.crc32;
    fixed.compressedSize = entry.compressedSize;
    fixed.uncompressedSize = entry.uncompressedSize;
    fixed.internalAttributes = entry.internalAttributes;
    fixed.externalAttributes = entry.externalAttributes;
    fixed.localHeaderOffset = entry.localHeaderOffset;
    const TrailingLengths lengths{static_cast<uint16_t>(entry.name.size()),
                                  static_cast<uint16_t>(entry.centralExtra.size()),
                                  static_cast<uint16_t>(entry.comment.size())};
    return centralFixedBytes(fixed, lengths) + entry.name + entry.centralExtra + entry.comment;
}

std::string endRecordBytes(uint16_t entryCount, uint32_t centralSize, uint32_t centralOffset,
                           const std::string& comment) {
    std::string out;
    append32(out, kEndOfCentralSig);
    append16(out, 0); // this disk
    append16(out, 0); // disk with the central directory
    append16(out, entryCount);
    append16(out, entryCount);
    append32(out, centralSize);
    append32(out, centralOffset);
    append16(out, static_cast<uint16_t>(comment.size()));
    out += comment;
    return out;
}

} // namespace zipcore
