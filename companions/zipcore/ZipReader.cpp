#include "zipcore/ZipReader.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>

namespace zipcore {

namespace {

constexpr uint32_t kZip64LocatorSize = 20;
constexpr uint32_t kUnixLinkType = 0120000;
constexpr uint32_t kUnixTypeMask = 0170000;

struct EndRecord {
    uint64_t offset = 0;
    uint16_t thisDisk = 0;
    uint16_t centralDisk = 0;
    uint16_t entriesHere = 0;
    uint16_t entriesTotal = 0;
    uint32_t centralSize = 0;
    uint32_t centralOffset = 0;
    std::string comment;
    bool garbageAfter = false;
};

// The end record sits in the last 22 + 65535 bytes; the scan goes backwards
// so that the record closest to the end wins, as every reader does.
bool findEndRecord(ZipInput& input, EndRecord& end) {
    const uint64_t fileSize = input.size();
    if (fileSize < kEndOfCentralSize) return false;
    const uint64_t window = std::min<uint64_t>(fileSize, kEndOfCentralSize + kMaxCommentSize);
    std::string tail(static_cast<size_t>(window), '\0');
    const uint64_t tailStart = fileSize - window;
    if (!input.readExact(tailStart, tail.data(), tail.size())) return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(tail.data());
    for (size_t i = tail.size() - kEndOfCentralSize + 1; i-- > 0;) {
        if (le32(bytes + i) != kEndOfCentralSig) continue;
        const uint16_t commentLength = le16(bytes + i + 20);
        if (i + kEndOfCentralSize + commentLength > tail.size()) continue;
        ByteCursor cursor(bytes + i + 4, kEndOfCentralSize - 4);
        end.offset = tailStart + i;
        end.thisDisk = cursor.u16();
        end.centralDisk = cursor.u16();
        end.entriesHere = cursor.u16();
        end.entriesTotal = cursor.u16();
        end.centralSize = cursor.u32();
        end.centralOffset = cursor.u32();
        end.comment.assign(tail, i + kEndOfCentralSize, commentLength);
        end.garbageAfter = i + kEndOfCentralSize + commentLength != tail.size();
        return true;
    }
    return false;
}

bool hasZip64Locator(ZipInput& input, const EndRecord& end) {
    unsigned char sig[4];
    return end.offset >= kZip64LocatorSize &&
           input.readExact(end.offset - kZip64LocatorSize, sig, 4) && le32(sig) == kZip64LocatorSig;
}

bool startsWithCentralHeader(ZipInput& input, uint64_t offset) {
    unsigned char sig[4];
    return input.readExact(offset, sig, 4) && le32(sig) == kCentralHeaderSig;
}

// The directory ends where the end record starts; its stored offset is only
// right when nothing was put in front of the archive.
bool placeCentralDirectory(ZipInput& input, const EndRecord& end, ZipDirectory& dir) {
    dir.storedCentralOffset = end.centralOffset;
    if (end.centralSize > end.offset) return false;
    dir.centralStart = end.offset - end.centralSize;
    if (end.entriesTotal == 0 || startsWithCentralHeader(input, dir.centralStart)) return true;
    if (static_cast<uint64_t>(end.centralOffset) + end.centralSize <= end.offset &&
        startsWithCentralHeader(input, end.centralOffset)) {
        dir.centralStart = end.centralOffset;
        return true;
    }
    return false;
}

bool parseCentralHeader(ByteCursor& cursor, ZipEntry& entry) {
    if (cursor.u32() != kCentralHeaderSig) return false;
    entry.versionMadeBy = cursor.u16();
    entry.versionNeeded = cursor.u16();
    entry.flags = cursor.u16();
    entry.method = cursor.u16();
    entry.dosTime = cursor.u16();
    entry.dosDate = cursor.u16();
    entry.crc32 = cursor.u32();
    entry.compressedSize = cursor.u32();
    entry.uncompressedSize = cursor.u32();
    const uint16_t nameLength = cursor.u16();
    const uint16_t extraLength = cursor.u16();
    const uint16_t commentLength = cursor.u16();
    entry.diskStart = cursor.u16();
    entry.internalAttributes = cursor.u16();
    entry.externalAttributes = cursor.u32();
    entry.localHeaderOffset = cursor.u32();
    const auto* name = cursor.bytes(nameLength);
    const auto* extra = cursor.bytes(extraLength);
    const auto* comment = cursor.bytes(commentLength);
    if (!cursor.ok()) return false;
    entry.name.assign(reinterpret_cast<const char*>(name), nameLength);
    entry.extra.assign(reinterpret_cast<const char*>(extra), extraLength);
    entry.comment.assign(reinterpret_cast<const char*>(comment), commentLength);
    return true;
}

// Entries whose data would run into the next local header share bytes with
// it: the classic way to make a tiny archive expand to gigabytes.
void markOverlaps(std::vector<ZipEntry>& entries) {
    std::vector<size_t> order;
    for (size_t i = 0; i < entries.size(); ++i)
        if (!entries[i].needsZip64()) // saturated sizes mean nothing here; such entries are refused
                                      // anyway
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return entries[a].localHeaderOffset < entries[b].localHeaderOffset;
    });
    for (size_t k = 1; k < order.size(); ++k) {
        ZipEntry& before = entries[order[k - 1]];
        ZipEntry& after = entries[order[k]];
        const uint64_t minimalEnd = static_cast<uint64_t>(before.localHeaderOffset) +
                                    kLocalHeaderSize + before.name.size() + before.compressedSize;
        if (minimalEnd > after.localHeaderOffset) {
            before.overlapsAnother = true;
            after.overlapsAnother = true;
        }
    }
}

DirectoryResult failure(std::string text) {
    return DirectoryResult{false, std::move(text)};
}

DirectoryResult parseCentralDirectory(ZipInput& input, const EndRecord& end, ZipDirectory& dir) {
    std::string central(end.centralSize, '\0');
    if (!input.readExact(dir.centralStart, central.data(), central.size()))
        return failure("the central directory is cut short");
    ByteCursor cursor(reinterpret_cast<const unsigned char*>(central.data()), central.size());
    dir.entries.resize(end.entriesTotal);
    for (size_t i = 0; i < dir.entries.size(); ++i) {
        if (!parseCentralHeader(cursor, dir.entries[i])) {
            dir.entries.resize(i);
            return failure("the central directory is damaged at entry " + std::to_string(i + 1));
        }
    }
    markOverlaps(dir.entries);
    return DirectoryResult{true, {}};
}

} // namespace

bool ZipEntry::isEncrypted() const {
    return (flags & kFlagEncrypted) != 0;
}
bool ZipEntry::isUtf8() const {
    return (flags & kFlagUtf8) != 0;
}

bool ZipEntry::isDirectory() const {
    if (name.empty()) return false;
    const char last = name.back();
    return last == '/' || (last == '\\' && hostSystem() == kHostMsDos);
}

uint32_t ZipEntry::unixMode() const {
    return hostSystem() == kHostUnix ? externalAttributes >> 16 : 0;
}

bool ZipEntry::isSymlink() const {
    return (unixMode() & kUnixTypeMask) == kUnixLinkType;
}

bool ZipEntry::needsZip64() const {
    return compressedSize == kMaxFieldValue || uncompressedSize == kMaxFieldValue ||
           localHeaderOffset == kMaxFieldValue || diskStart == 0xFFFF;
}

bool ZipEntry::hasAesExtra() const {
    ByteCursor cursor(reinterpret_cast<const unsigned char*>(extra.data()), extra.size());
    while (cursor.remaining() >= 4) {
        const uint16_t id = cursor.u16();
        const uint16_t length = cursor.u16();
        if (id == kExtraAes) return true;
        cursor.skip(length);
    }
    return false;
}

DirectoryResult readDirectory(ZipInput& input, ZipDirectory& dir) {
    dir = ZipDirectory{};
    EndRecord end;
    if (!findEndRecord(input, end))
        return failure("this is not a ZIP archive (no end of central directory record)");
    dir.endRecordOffset = end.offset;
    dir.comment = end.comment;
    dir.garbageAfterEnd = end.garbageAfter;
    if (hasZip64Locator(input, end)) return failure("Zip64 archives are not supported");
    if (end.thisDisk != 0 || end.centralDisk != 0 || end.entriesHere != end.entriesTotal)
        return failure("this is one volume of a multi-volume archive; join the volumes first");
    if (!placeCentralDirectory(input, end, dir))
        return failure("the central directory cannot be found where the end record says");
    return parseCentralDirectory(input, end, dir);
}

DataLocation locateEntryData(ZipInput& input, const ZipDirectory& dir, const ZipEntry& entry) {
    const uint64_t candidates[2] = {
        static_cast<uint64_t>(entry.localHeaderOffset + dir.offsetShift()),
        entry.localHeaderOffset};
    for (const uint64_t headerOffset : candidates) {
        unsigned char header[kLocalHeaderSize];
        if (headerOffset >= dir.centralStart ||
            !input.readExact(headerOffset, header, sizeof header) ||
            le32(header) != kLocalHeaderSig)
            continue;
        if (le16(header + 8) != entry.method || ((le16(header + 6) ^ entry.flags) & kFlagEncrypted))
            return DataLocation{false, 0, "the local header disagrees with the central directory"};
        const uint64_t dataOffset =
            headerOffset + kLocalHeaderSize + le16(header + 26) + le16(header + 28);
        if (dataOffset + entry.compressedSize > dir.centralStart)
            return DataLocation{false, 0,
                                "the entry's data runs past the end of the archive's data"};
        return DataLocation{true, dataOffset, {}};
    }
    return DataLocation{false, 0, "the local header is missing or damaged"};
}

} // namespace zipcore
