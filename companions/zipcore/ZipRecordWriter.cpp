#include "zipcore/ZipRecordWriter.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/CentralDirectory.h"
#include "zipcore/DirectoryEnd.h"
#include "zipcore/Zip64Extra.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>

namespace zipcore {

std::string localHeaderBytes(const WrittenEntry& entry) {
    const std::string extra =
        entry.localZip64 ? localZip64Extra(entry.uncompressedSize, entry.compressedSize) : "";
    std::string out;
    out.reserve(kLocalHeaderSize + entry.name.size() + extra.size());
    append32(out, kLocalHeaderSig);
    append16(out, entry.versionNeeded);
    append16(out, entry.flags);
    append16(out, entry.method);
    append16(out, entry.dosTime);
    append16(out, entry.dosDate);
    out += localSizesBytes(entry);
    append16(out, static_cast<uint16_t>(entry.name.size()));
    append16(out, static_cast<uint16_t>(extra.size()));
    out += entry.name;
    out += extra;
    return out;
}

std::string localSizesBytes(const WrittenEntry& entry) {
    std::string out;
    append32(out, entry.crc32);
    append32(out, entry.localZip64 ? static_cast<uint32_t>(kMaxFieldValue)
                                   : static_cast<uint32_t>(entry.compressedSize));
    append32(out, entry.localZip64 ? static_cast<uint32_t>(kMaxFieldValue)
                                   : static_cast<uint32_t>(entry.uncompressedSize));
    return out;
}

uint64_t localZip64SizesOffset(const WrittenEntry& entry) {
    return kLocalHeaderSize + entry.name.size() + 4; // past the field's id and length
}

std::string localZip64SizesBytes(const WrittenEntry& entry) {
    std::string out;
    append64(out, entry.uncompressedSize);
    append64(out, entry.compressedSize);
    return out;
}

std::string centralHeaderBytes(const WrittenEntry& entry) {
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
    fixed.zip64Fields = entry.zip64Fields;
    fixed.name = entry.name;
    fixed.extra = entry.centralExtra;
    fixed.comment = entry.comment;
    if (fixed.zip64FieldsToWrite() & ~entry.zip64Fields)
        fixed.versionNeeded = std::max(fixed.versionNeeded, kVersionZip64);
    return serializeCentralHeader(fixed);
}

std::string endRecordBytes(uint64_t entryCount, uint64_t centralSize, uint64_t centralOffset,
                           const std::string& comment) {
    return directoryEndBytes(entryCount, centralSize, centralOffset, comment);
}

} // namespace zipcore
