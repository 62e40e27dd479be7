#include "zipcore/CentralDirectory.h"

#include "zipcore/Zip64Extra.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>

namespace zipcore {

namespace {

std::string copyOf(const unsigned char* bytes, size_t n) {
    return n == 0 ? std::string() : std::string(reinterpret_cast<const char*>(bytes), n);
}

bool startsHeader(const unsigned char* data, size_t size, size_t at) {
    return size - at >= 4 && le32(data + at) == kCentralHeaderSig;
}

CentralWalk stopped(CentralError error, size_t found, uint64_t storedCount) {
    return CentralWalk{error, found + 1, found, storedCount};
}

uint8_t saturatedFields(const ZipEntry& entry) {
    uint8_t fields = 0;
    if (entry.uncompressedSize == kMaxFieldValue) fields |= kZip64Uncompressed;
    if (entry.compressedSize == kMaxFieldValue) fields |= kZip64Compressed;
    if (entry.localHeaderOffset == kMaxFieldValue) fields |= kZip64Offset;
    if (entry.diskStart == kMaxDiskValue) fields |= kZip64Disk;
    return fields;
}

// The saturated fields take their values from the Zip64 field.
bool applyZip64Extra(ZipEntry& entry) {
    if (entry.zip64Fields == 0) return true;
    Zip64Values values{entry.uncompressedSize, entry.compressedSize, entry.localHeaderOffset,
                       entry.diskStart};
    if (!readZip64Extra(entry.extra, entry.zip64Fields, values)) return false;
    entry.uncompressedSize = values.uncompressedSize;
    entry.compressedSize = values.compressedSize;
    entry.localHeaderOffset = values.localHeaderOffset;
    entry.diskStart = values.diskStart;
    return true;
}

uint32_t field32(uint64_t value, bool saturated) {
    return saturated ? static_cast<uint32_t>(kMaxFieldValue) : static_cast<uint32_t>(value);
}

Zip64Values zip64ValuesOf(const ZipEntry& entry) {
    return Zip64Values{entry.uncompressedSize, entry.compressedSize, entry.localHeaderOffset,
                       entry.diskStart};
}

} // namespace

bool readCentralFixed(ByteCursor& cursor, uint32_t& signature, ZipEntry& entry,
                      TrailingLengths& lengths) {
    if (cursor.remaining() < kCentralHeaderSize) return false;
    signature = cursor.u32();
    entry.versionMadeBy = cursor.u16();
    entry.versionNeeded = cursor.u16();
    entry.flags = cursor.u16();
    entry.method = cursor.u16();
    entry.dosTime = cursor.u16();
    entry.dosDate = cursor.u16();
    entry.crc32 = cursor.u32();
    entry.compressedSize = cursor.u32();
    entry.uncompressedSize = cursor.u32();
    lengths.name = cursor.u16();
    lengths.extra = cursor.u16();
    lengths.comment = cursor.u16();
    entry.diskStart = cursor.u16();
    entry.internalAttributes = cursor.u16();
    entry.externalAttributes = cursor.u32();
    entry.localHeaderOffset = cursor.u32();
    entry.zip64Fields = saturatedFields(entry);
    return cursor.ok();
}

CentralError readCentralHeader(ByteCursor& cursor, ZipEntry& entry) {
    uint32_t signature = 0;
    TrailingLengths lengths;
    if (!readCentralFixed(cursor, signature, entry, lengths)) return CentralError::TruncatedHeader;
    if (signature != kCentralHeaderSig) return CentralError::BadSignature;
    const unsigned char* name = cursor.bytes(lengths.name);
    if (!cursor.ok()) return CentralError::TruncatedName;
    const unsigned char* extra = cursor.bytes(lengths.extra);
    if (!cursor.ok()) return CentralError::TruncatedExtra;
    const unsigned char* comment = cursor.bytes(lengths.comment);
    if (!cursor.ok()) return CentralError::TruncatedComment;
    entry.name = copyOf(name, lengths.name);
    entry.extra = copyOf(extra, lengths.extra);
    entry.comment = copyOf(comment, lengths.comment);
    entry.zip64Missing = !applyZip64Extra(entry);
    return CentralError::None;
}

std::string centralFixedBytes(const ZipEntry& entry, const TrailingLengths& lengths) {
    const uint8_t zip64 = entry.zip64FieldsToWrite();
    std::string out;
    out.reserve(kCentralHeaderSize);
    append32(out, kCentralHeaderSig);
    append16(out, entry.versionMadeBy);
    append16(out, entry.versionNeeded);
    append16(out, entry.flags);
    append16(out, entry.method);
    append16(out, entry.dosTime);
    append16(out, entry.dosDate);
    append32(out, entry.crc32);
    append32(out, field32(entry.compressedSize, zip64 & kZip64Compressed));
    append32(out, field32(entry.uncompressedSize, zip64 & kZip64Uncompressed));
    append16(out, lengths.name);
    append16(out, lengths.extra);
    append16(out, lengths.comment);
    append16(out, (zip64 & kZip64Disk) ? kMaxDiskValue : static_cast<uint16_t>(entry.diskStart));
    append16(out, entry.internalAttributes);
    append32(out, entry.externalAttributes);
    append32(out, field32(entry.localHeaderOffset, zip64 & kZip64Offset));
    return out;
}

bool readLocalHeader(ByteCursor& cursor, LocalHeader& header) {
    if (cursor.remaining() < kLocalHeaderSize) return false;
    header.signature = cursor.u32();
    header.versionNeeded = cursor.u16();
    header.flags = cursor.u16();
    header.method = cursor.u16();
    header.dosTime = cursor.u16();
    header.dosDate = cursor.u16();
    header.crc32 = cursor.u32();
    header.compressedSize = cursor.u32();
    header.uncompressedSize = cursor.u32();
    header.nameLength = cursor.u16();
    header.extraLength = cursor.u16();
    return cursor.ok();
}

CentralWalk walkCentralDirectory(const unsigned char* data, size_t size, uint64_t storedCount,
                                 std::vector<ZipEntry>& out, bool exactCount) {
    out.clear();
    // Each header takes at least 46 bytes: a count the bytes cannot hold reserves nothing.
    out.reserve(static_cast<size_t>(std::min<uint64_t>(storedCount, size / kCentralHeaderSize)));
    ByteCursor cursor(data, size);
    // A header where the count says one must be; past the count, headers
    // are read for as long as the bytes hold them.
    while (out.size() < storedCount || startsHeader(data, size, cursor.position())) {
        ZipEntry entry;
        const CentralError error = readCentralHeader(cursor, entry);
        if (error != CentralError::None) return stopped(error, out.size(), storedCount);
        out.push_back(std::move(entry));
    }
    const size_t found = out.size();
    const bool wrapped = !exactCount && found > storedCount && found % 0x10000 == storedCount &&
                         cursor.remaining() == 0;
    if (found != storedCount && !wrapped)
        return CentralWalk{CentralError::CountMismatch, 0, found, storedCount};
    return CentralWalk{CentralError::None, 0, found, storedCount};
}

std::string CentralWalk::message() const {
    const std::string at = " at entry " + std::to_string(failedEntry);
    switch (error) {
    case CentralError::None:
        return {};
    case CentralError::TruncatedHeader:
        return "the central directory is cut short" + at;
    case CentralError::BadSignature:
        return "the central directory is damaged" + at;
    case CentralError::TruncatedName:
        return "the central directory is cut short in a file name" + at;
    case CentralError::TruncatedExtra:
        return "the central directory is cut short in an extra field" + at;
    case CentralError::TruncatedComment:
        return "the central directory is cut short in a file comment" + at;
    case CentralError::CountMismatch:
        return "the end record counts " + std::to_string(storedCount) +
               " entries but the central directory holds " + std::to_string(headersFound);
    }
    return {};
}

} // namespace zipcore

namespace zipcore {

uint8_t ZipEntry::zip64FieldsToWrite() const {
    uint8_t fields = zip64Fields;
    if (uncompressedSize >= kMaxFieldValue) fields |= kZip64Uncompressed;
    if (compressedSize >= kMaxFieldValue) fields |= kZip64Compressed;
    if (localHeaderOffset >= kMaxFieldValue) fields |= kZip64Offset;
    if (diskStart >= kMaxDiskValue) fields |= kZip64Disk;
    return fields;
}

std::string serializeCentralHeader(const ZipEntry& entry) {
    const std::string extra =
        withZip64Extra(entry.extra, entry.zip64FieldsToWrite(), zip64ValuesOf(entry));
    const TrailingLengths lengths{static_cast<uint16_t>(entry.name.size()),
                                  static_cast<uint16_t>(extra.size()),
                                  static_cast<uint16_t>(entry.comment.size())};
    return centralFixedBytes(entry, lengths) + entry.name + extra + entry.comment;
}

bool shiftedCentralDirectory(const std::vector<ZipEntry>& entries, int64_t shift,
                             std::string& out) {
    out.clear();
    for (ZipEntry entry : entries) {
        const int64_t offset = static_cast<int64_t>(entry.localHeaderOffset) + shift;
        if (offset < 0) return false;
        entry.localHeaderOffset = static_cast<uint64_t>(offset);
        out += serializeCentralHeader(entry);
    }
    return true;
}

} // namespace zipcore
