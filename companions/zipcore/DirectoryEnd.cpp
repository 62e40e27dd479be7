#include "zipcore/DirectoryEnd.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>

namespace zipcore {

namespace {

DirectoryEndResult refused(std::string why) {
    return DirectoryEndResult{false, std::move(why), {}};
}

DirectoryEnd classicEnd(const EndRecordLocation& location) {
    const EndRecord& record = location.record;
    DirectoryEnd end;
    end.thisDisk = record.thisDisk;
    end.centralDisk = record.centralDisk;
    end.entriesOnDisk = record.entriesOnDisk;
    end.totalEntries = record.totalEntries;
    end.centralSize = record.centralSize;
    end.centralOffset = record.centralOffset;
    end.directoryEnd = location.offset;
    return end;
}

bool agrees16(uint16_t classic, uint64_t wide) {
    return classic == kMaxDiskValue || classic == wide;
}
bool agrees32(uint32_t classic, uint64_t wide) {
    return classic == kMaxFieldValue || classic == wide;
}

// A classic field that is not saturated must say what the Zip64 one says.
bool classicAgrees(const EndRecord& classic, const Zip64EndRecord& wide) {
    return agrees16(classic.thisDisk, wide.thisDisk) &&
           agrees16(classic.centralDisk, wide.centralDisk) &&
           agrees16(classic.entriesOnDisk, wide.entriesOnDisk) &&
           agrees16(classic.totalEntries, wide.totalEntries) &&
           agrees32(classic.centralSize, wide.centralSize) &&
           agrees32(classic.centralOffset, wide.centralOffset);
}

// The Zip64 end record at offset, when it is one and ends right at the
// locator (its extensible data included).
bool zip64EndAt(ZipInput& input, uint64_t offset, uint64_t locatorOffset, Zip64EndRecord& out) {
    unsigned char bytes[kZip64EndSize];
    if (offset > locatorOffset || locatorOffset - offset < kZip64EndSize ||
        !input.readExact(offset, bytes, sizeof bytes) ||
        !parseZip64EndRecord(bytes, sizeof bytes, out))
        return false;
    return out.recordSize >= Zip64EndRecord::kZip64EndRecordSize &&
           out.recordSize == locatorOffset - offset - 12;
}

} // namespace

bool parseZip64EndRecord(const unsigned char* data, size_t size, Zip64EndRecord& out) {
    ByteCursor cursor(data, size);
    if (cursor.u32() != kZip64EndSig) return false;
    Zip64EndRecord record;
    record.recordSize = cursor.u64();
    record.versionMadeBy = cursor.u16();
    record.versionNeeded = cursor.u16();
    record.thisDisk = cursor.u32();
    record.centralDisk = cursor.u32();
    record.entriesOnDisk = cursor.u64();
    record.totalEntries = cursor.u64();
    record.centralSize = cursor.u64();
    record.centralOffset = cursor.u64();
    if (!cursor.ok()) return false;
    out = record;
    return true;
}

bool parseZip64Locator(const unsigned char* data, size_t size, Zip64Locator& out) {
    ByteCursor cursor(data, size);
    if (cursor.u32() != kZip64LocatorSig) return false;
    Zip64Locator locator;
    locator.endDisk = cursor.u32();
    locator.endOffset = cursor.u64();
    locator.totalDisks = cursor.u32();
    if (!cursor.ok()) return false;
    out = locator;
    return true;
}

DirectoryEndResult resolveDirectoryEnd(ZipInput& input, const EndRecordLocation& location) {
    unsigned char bytes[kZip64LocatorSize];
    Zip64Locator locator;
    if (location.offset < kZip64LocatorSize ||
        !input.readExact(location.offset - kZip64LocatorSize, bytes, sizeof bytes) ||
        !parseZip64Locator(bytes, sizeof bytes, locator))
        return DirectoryEndResult{true, {}, classicEnd(location)};
    const uint64_t locatorOffset = location.offset - kZip64LocatorSize;
    if (locator.totalDisks > 1 || locator.endDisk != 0)
        return refused(
            "this is one volume of a multi-volume Zip64 archive, which is not supported");
    if (locator.endOffset >= input.size())
        return refused("the Zip64 end record lies outside the file");
    // Where the locator says, or right before the locator when a prefix
    // was put in front of the archive without moving its offsets.
    Zip64EndRecord record;
    uint64_t recordOffset = locator.endOffset;
    if (!zip64EndAt(input, recordOffset, locatorOffset, record)) {
        recordOffset = locatorOffset >= kZip64EndSize ? locatorOffset - kZip64EndSize : 0;
        if (locatorOffset < kZip64EndSize ||
            !zip64EndAt(input, recordOffset, locatorOffset, record))
            return refused("the Zip64 end record is missing or damaged where its locator points");
    }
    if (record.thisDisk != 0 || record.centralDisk != 0)
        return refused(
            "this is one volume of a multi-volume Zip64 archive, which is not supported");
    if (!classicAgrees(location.record, record))
        return refused("the end record and the Zip64 end record disagree");
    DirectoryEnd end;
    end.zip64 = true;
    end.thisDisk = record.thisDisk;
    end.centralDisk = record.centralDisk;
    end.entriesOnDisk = record.entriesOnDisk;
    end.totalEntries = record.totalEntries;
    end.centralSize = record.centralSize;
    end.centralOffset = record.centralOffset;
    end.directoryEnd = recordOffset;
    end.record64 = record;
    end.locator = locator;
    return DirectoryEndResult{true, {}, end};
}

std::string zip64EndRecordBytes(const Zip64EndRecord& record) {
    std::string out;
    out.reserve(kZip64EndSize);
    append32(out, kZip64EndSig);
    append64(out, Zip64EndRecord::kZip64EndRecordSize);
    append16(out, record.versionMadeBy);
    append16(out, record.versionNeeded);
    append32(out, record.thisDisk);
    append32(out, record.centralDisk);
    append64(out, record.entriesOnDisk);
    append64(out, record.totalEntries);
    append64(out, record.centralSize);
    append64(out, record.centralOffset);
    return out;
}

std::string zip64LocatorBytes(const Zip64Locator& locator) {
    std::string out;
    out.reserve(kZip64LocatorSize);
    append32(out, kZip64LocatorSig);
    append32(out, locator.endDisk);
    append64(out, locator.endOffset);
    append32(out, locator.totalDisks);
    return out;
}

bool directoryNeedsZip64(uint64_t entryCount, uint64_t centralSize, uint64_t centralOffset) {
    return entryCount > kMaxEntries || centralSize >= kMaxFieldValue ||
           centralOffset >= kMaxFieldValue;
}

std::string directoryEndBytes(uint64_t entryCount, uint64_t centralSize, uint64_t centralOffset,
                              const std::string& comment) {
    std::string out;
    if (directoryNeedsZip64(entryCount, centralSize, centralOffset)) {
        Zip64EndRecord record;
        record.entriesOnDisk = record.totalEntries = entryCount;
        record.centralSize = centralSize;
        record.centralOffset = centralOffset;
        out += zip64EndRecordBytes(record);
        out += zip64LocatorBytes(Zip64Locator{0, centralOffset + centralSize, 1});
    }
    EndRecord end;
    end.entriesOnDisk = end.totalEntries =
        static_cast<uint16_t>(std::min<uint64_t>(entryCount, kMaxEntries));
    end.centralSize = static_cast<uint32_t>(std::min(centralSize, kMaxFieldValue));
    end.centralOffset = static_cast<uint32_t>(std::min(centralOffset, kMaxFieldValue));
    end.commentLength = static_cast<uint16_t>(comment.size());
    return out + serializeEndRecord(end) + comment;
}

} // namespace zipcore
