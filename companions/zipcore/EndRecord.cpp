#include "zipcore/EndRecord.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>

namespace zipcore {

bool parseEndRecord(const unsigned char* data, size_t size, EndRecord& out) {
    ByteCursor cursor(data, size);
    if (cursor.u32() != kEndOfCentralSig) return false;
    EndRecord record;
    record.thisDisk = cursor.u16();
    record.centralDisk = cursor.u16();
    record.entriesOnDisk = cursor.u16();
    record.totalEntries = cursor.u16();
    record.centralSize = cursor.u32();
    record.centralOffset = cursor.u32();
    record.commentLength = cursor.u16();
    if (!cursor.ok()) return false;
    out = record;
    return true;
}

std::string serializeEndRecord(const EndRecord& record) {
    std::string out;
    out.reserve(kEndOfCentralSize);
    append32(out, kEndOfCentralSig);
    append16(out, record.thisDisk);
    append16(out, record.centralDisk);
    append16(out, record.entriesOnDisk);
    append16(out, record.totalEntries);
    append32(out, record.centralSize);
    append32(out, record.centralOffset);
    append16(out, record.commentLength);
    return out;
}

std::optional<size_t> findEndRecordIn(const unsigned char* tail, size_t size) {
    if (size < kEndOfCentralSize) return std::nullopt;
    std::optional<size_t> outermostExact;
    std::optional<size_t> nearestFitting;
    for (size_t i = size - kEndOfCentralSize + 1; i-- > 0;) {
        if (tail[i] != 'P' || le32(tail + i) != kEndOfCentralSig) continue;
        const size_t commentEnd = i + kEndOfCentralSize + le16(tail + i + 20);
        if (commentEnd == size)
            outermostExact = i;
        else if (commentEnd < size && !nearestFitting)
            nearestFitting = i;
    }
    return outermostExact ? outermostExact : nearestFitting;
}

namespace {

EndSearch found(uint64_t offset, const EndRecord& record, std::string comment, uint64_t fileSize) {
    EndSearch search;
    search.status = EndSearchStatus::Found;
    search.location.offset = offset;
    search.location.record = record;
    search.location.comment = std::move(comment);
    search.location.commentEnd = offset + kEndOfCentralSize + record.commentLength;
    search.location.fileSize = fileSize;
    return search;
}

} // namespace

EndSearch findEndRecord(ZipInput& input) {
    const uint64_t fileSize = input.size();
    if (fileSize < kEndOfCentralSize) return {};
    const uint64_t span = std::min<uint64_t>(fileSize, kEndRecordSearchSpan);
    std::string tail(static_cast<size_t>(span), '\0');
    const uint64_t tailStart = fileSize - span;
    if (!input.readExact(tailStart, tail.data(), tail.size()))
        return {EndSearchStatus::ReadError, {}};
    const auto* bytes = reinterpret_cast<const unsigned char*>(tail.data());
    const std::optional<size_t> at = findEndRecordIn(bytes, tail.size());
    if (!at) return {};
    EndRecord record;
    parseEndRecord(bytes + *at, kEndOfCentralSize, record);
    return found(tailStart + *at, record,
                 tail.substr(*at + kEndOfCentralSize, record.commentLength), fileSize);
}

} // namespace zipcore
