#include "zipcore/ZipReader.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/CentralDirectory.h"
#include "zipcore/DirectoryEnd.h"
#include "zipcore/EndRecord.h"
#include "zipcore/Zip64Extra.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>

namespace zipcore {

namespace {

constexpr uint32_t kUnixLinkType = 0120000;
constexpr uint32_t kUnixTypeMask = 0170000;

bool startsWithCentralHeader(ZipInput& input, uint64_t offset) {
    unsigned char sig[4];
    return input.readExact(offset, sig, 4) && le32(sig) == kCentralHeaderSig;
}

// The directory ends where the (Zip64) end record starts; its stored
// offset is only right when nothing was put in front of the archive.
bool placeCentralDirectory(ZipInput& input, const DirectoryEnd& end, ZipDirectory& dir) {
    dir.storedCentralOffset = end.centralOffset;
    if (end.centralSize > end.directoryEnd) return false;
    dir.centralStart = end.directoryEnd - end.centralSize;
    if (end.centralSize == 0 || startsWithCentralHeader(input, dir.centralStart)) return true;
    if (end.centralOffset <= end.directoryEnd - end.centralSize &&
        startsWithCentralHeader(input, end.centralOffset)) {
        dir.centralStart = end.centralOffset;
        return true;
    }
    return false;
}

// Where an entry's local header may be: at its offset moved by the
// prefix shift, or at its offset as stored.
std::vector<uint64_t> localHeaderCandidates(const ZipDirectory& dir, const ZipEntry& entry) {
    const int64_t shifted = static_cast<int64_t>(entry.localHeaderOffset) + dir.offsetShift();
    if (entry.localHeaderOffset > static_cast<uint64_t>(INT64_MAX)) return {};
    std::vector<uint64_t> out;
    if (shifted >= 0) out.push_back(static_cast<uint64_t>(shifted));
    if (dir.offsetShift() != 0) out.push_back(entry.localHeaderOffset);
    return out;
}

// True when a local header carrying the entry's own name sits where the
// entry points: its offset is sound, whatever its neighbours say.
bool ownsLocalHeader(ZipInput& input, const ZipDirectory& dir, const ZipEntry& entry) {
    std::string header(kLocalHeaderSize + entry.name.size(), '\0');
    for (const uint64_t offset : localHeaderCandidates(dir, entry)) {
        if (offset >= dir.centralStart || !input.readExact(offset, header.data(), header.size()))
            continue;
        const auto* bytes = reinterpret_cast<const unsigned char*>(header.data());
        if (le32(bytes) == kLocalHeaderSig && le16(bytes + 26) == entry.name.size() &&
            header.compare(kLocalHeaderSize, std::string::npos, entry.name) == 0)
            return true;
    }
    return false;
}

// Entries whose data would run into the next local header share bytes with
// it: the classic way to make a tiny archive expand to gigabytes. Only the
// entries whose own data is bad are marked: the one whose data runs over a
// genuine local header, or the one whose offset points where no local
// header of its own name is (a damaged offset never costs its neighbour).
void markOverlaps(ZipInput& input, ZipDirectory& dir) {
    std::vector<ZipEntry>& entries = dir.entries;
    std::vector<size_t> order;
    for (size_t i = 0; i < entries.size(); ++i)
        if (!entries[i].zip64Missing) order.push_back(i); // its sizes mean nothing
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return entries[a].localHeaderOffset < entries[b].localHeaderOffset;
    });
    for (size_t k = 1; k < order.size(); ++k) {
        ZipEntry& before = entries[order[k - 1]];
        ZipEntry& after = entries[order[k]];
        // Sizes and offsets come from 64-bit fields: a sum that wraps overlaps too.
        const uint64_t headerEnd = before.localHeaderOffset + kLocalHeaderSize + before.name.size();
        const uint64_t minimalEnd = headerEnd + before.compressedSize;
        if (headerEnd >= before.localHeaderOffset && minimalEnd >= headerEnd &&
            minimalEnd <= after.localHeaderOffset)
            continue;
        const bool beforeSound = ownsLocalHeader(input, dir, before);
        const bool afterSound = ownsLocalHeader(input, dir, after);
        // A sound header inside the data of the entry before: that entry's
        // data is bad. An unsound one: only its own offset is bad.
        if (afterSound || !beforeSound) before.overlapsAnother = true;
        if (!afterSound) after.overlapsAnother = true;
    }
}

// A local header with saturated sizes carries them in its Zip64 field,
// where they must agree with the central directory's (unless they follow
// the data). A Zip64 field there also makes the data descriptor's sizes
// 8 bytes long, so it is looked for whenever one may follow.
void checkLocalZip64(ZipInput& input, const ZipEntry& entry, const unsigned char* header,
                     DataLocation& location) {
    uint8_t saturated = 0;
    if (le32(header + 22) == kMaxFieldValue) saturated |= kZip64Uncompressed;
    if (le32(header + 18) == kMaxFieldValue) saturated |= kZip64Compressed;
    const bool descriptor = (le16(header + 6) & kFlagDataDescriptor) != 0;
    if (saturated == 0 && !descriptor && entry.zip64Fields == 0) return;
    std::string extra(le16(header + 28), '\0');
    const uint64_t extraOffset = location.headerOffset + kLocalHeaderSize + le16(header + 26);
    if (!input.readExact(extraOffset, extra.data(), extra.size())) extra.clear();
    Zip64Values values;
    location.localZip64 = readZip64Extra(extra, 0, values);
    if (saturated == 0 || descriptor) return;
    if (!readZip64Extra(extra, saturated, values)) {
        location = DataLocation{false, 0, "the local header lacks its Zip64 sizes"};
        return;
    }
    if (((saturated & kZip64Uncompressed) && values.uncompressedSize != entry.uncompressedSize) ||
        ((saturated & kZip64Compressed) && values.compressedSize != entry.compressedSize))
        location = DataLocation{false, 0, "the local header disagrees with the central directory"};
}

DirectoryResult failure(std::string text) {
    return DirectoryResult{false, std::move(text)};
}

DirectoryResult parseCentralDirectory(ZipInput& input, const DirectoryEnd& end, ZipDirectory& dir) {
    // placeCentralDirectory kept the directory inside the file.
    std::string central(static_cast<size_t>(end.centralSize), '\0');
    if (!input.readExact(dir.centralStart, central.data(), central.size()))
        return failure("the central directory is cut short");
    const CentralWalk walk =
        walkCentralDirectory(reinterpret_cast<const unsigned char*>(central.data()), central.size(),
                             end.totalEntries, dir.entries, end.zip64);
    if (!walk.ok()) return failure(walk.message());
    markOverlaps(input, dir);
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
    const EndSearch search = findEndRecord(input);
    if (search.status == EndSearchStatus::ReadError)
        return failure("the end of the archive cannot be read");
    if (!search.found())
        return failure("this is not a ZIP archive (no end of central directory record)");
    const EndRecordLocation& location = search.location;
    dir.endRecordOffset = location.offset;
    dir.comment = location.comment;
    dir.garbageAfterEnd = location.trailingBytes() != 0;
    const DirectoryEndResult resolved = resolveDirectoryEnd(input, location);
    if (!resolved.ok) return failure(resolved.error);
    const DirectoryEnd& end = resolved.end;
    dir.zip64 = end.zip64;
    if (end.thisDisk != 0 || end.centralDisk != 0 || end.entriesOnDisk != end.totalEntries)
        return failure("this is one volume of a multi-volume archive; join the volumes first");
    if (!placeCentralDirectory(input, end, dir))
        return failure("the central directory cannot be found where the end record says");
    return parseCentralDirectory(input, end, dir);
}

DataLocation locateEntryData(ZipInput& input, const ZipDirectory& dir, const ZipEntry& entry) {
    if (entry.zip64Missing) return DataLocation{false, 0, kMissingZip64Text};
    const uint64_t candidates[2] = {
        static_cast<uint64_t>(static_cast<int64_t>(entry.localHeaderOffset) + dir.offsetShift()),
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
        if (dataOffset > dir.centralStart || entry.compressedSize > dir.centralStart - dataOffset)
            return DataLocation{false, 0,
                                "the entry's data runs past the end of the archive's data"};
        DataLocation location{true, dataOffset, {}, headerOffset};
        checkLocalZip64(input, entry, header, location);
        return location;
    }
    return DataLocation{false, 0, "the local header is missing or damaged"};
}

bool entryRecordEnd(ZipInput& input, const ZipDirectory& dir, const ZipEntry& entry,
                    const DataLocation& location, uint64_t& end) {
    end = location.offset + entry.compressedSize;
    if (entry.flags & kFlagDataDescriptor) {
        // CRC and two sizes, 8 bytes each after a Zip64 local header.
        const uint64_t fields = location.localZip64 ? 20 : 12;
        unsigned char sig[4] = {};
        input.readExact(end, sig, 4);
        end += le32(sig) == kDataDescriptorSig ? fields + 4 : fields;
    }
    return end <= dir.centralStart;
}

} // namespace zipcore
