#include "engine/sfx/CentralRewrite.h"

#include "zipcore/CentralDirectory.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>

namespace brx {
namespace {

constexpr qint64 kChunk = 256 * 1024;
constexpr int kRewriteFailed = -2;

bool writeAll(QFile& out, const std::string& bytes) {
    return out.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// The Zip64 end record and locator as stored, with the directory's and the
// record's own new positions patched in (extensible data kept as it was).
std::string shiftedZip64Records(const ArchiveLayout& layout, quint64 directoryOffset,
                                quint64 recordOffset) {
    std::string bytes = layout.zip64Records;
    if (bytes.size() < zipcore::kZip64EndSize + zipcore::kZip64LocatorSize) return {};
    auto patch64 = [&bytes](size_t at, quint64 value) {
        for (int i = 0; i < 8; ++i) bytes[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
    };
    constexpr size_t kCentralOffsetField = 48;
    constexpr size_t kLocatorRecordField = 8;
    patch64(kCentralOffsetField, directoryOffset);
    patch64(bytes.size() - zipcore::kZip64LocatorSize + kLocatorRecordField, recordOffset);
    return bytes;
}

} // namespace

bool copyBytes(QFile& in, QFile& out, qint64 count) {
    while (count != 0) {
        const qint64 want = count < 0 ? kChunk : std::min(count, kChunk);
        const QByteArray block = in.read(want);
        if (block.isEmpty()) return count < 0 && in.atEnd();
        if (out.write(block) != block.size()) return false;
        if (count > 0) count -= block.size();
    }
    return true;
}

int rewriteCentralDirectory(const ArchiveLayout& layout, QFile& out, qint64 shift) {
    std::string directory;
    if (!zipcore::shiftedCentralDirectory(layout.entries, shift, directory)) return kRewriteFailed;
    const qint64 directoryOffset = qint64(layout.storedOffset) + shift;
    if (directoryOffset < 0) return kRewriteFailed;
    const std::string zip64 = shiftedZip64Records(layout, quint64(directoryOffset),
                                                  quint64(directoryOffset) + directory.size());
    zipcore::EndRecord end = layout.end;
    if (end.centralOffset != zipcore::kMaxFieldValue) {
        // Saturated when the Zip64 end record holds the offset and it no longer fits.
        if (directoryOffset >= qint64(zipcore::kMaxFieldValue) && zip64.empty())
            return kRewriteFailed;
        end.centralOffset = quint32(std::min<qint64>(directoryOffset, zipcore::kMaxFieldValue));
    }
    const bool written = writeAll(out, directory) && writeAll(out, zip64) &&
                         writeAll(out, zipcore::serializeEndRecord(end)) &&
                         writeAll(out, layout.comment);
    return written ? 0 : kRewriteFailed;
}

} // namespace brx
