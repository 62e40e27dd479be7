#include "engine/sfx/CentralRewrite.h"

#include "zipcore/CentralDirectory.h"

namespace brx {
namespace {

constexpr qint64 kChunk = 256 * 1024;
constexpr int kRewriteFailed = -2;

bool writeAll(QFile& out, const std::string& bytes) {
    return out.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
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
    zipcore::EndRecord end = layout.end;
    const qint64 directoryOffset = qint64(end.centralOffset) + shift;
    if (directoryOffset < 0 || directoryOffset > 0xFFFFFFFFll) return kRewriteFailed;
    end.centralOffset = quint32(directoryOffset);
    const bool written = writeAll(out, directory) &&
                         writeAll(out, zipcore::serializeEndRecord(end)) &&
                         writeAll(out, layout.comment);
    return written ? 0 : kRewriteFailed;
}

} // namespace brx
