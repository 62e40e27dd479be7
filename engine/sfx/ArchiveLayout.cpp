#include "engine/sfx/ArchiveLayout.h"

#include "engine/base/ZipMsg.h"

#include <QtEndian>

namespace brx {
namespace {

constexpr qint64 kEndSize = 22;
constexpr qint64 kMaxEndSearch = kEndSize + 0xFFFF;
constexpr qint64 kCentralSize = 46;
constexpr quint32 kEndSig = 0x06054b50;
constexpr quint32 kCentralSig = 0x02014b50;

quint32 u32(const char* p) {
    return qFromLittleEndian<quint32>(p);
}
quint16 u16(const char* p) {
    return qFromLittleEndian<quint16>(p);
}

// The last "PK\5\6" whose comment fits in the file.
bool findEnd(QFile& file, ArchiveLayout& layout, int& errorId) {
    const qint64 n = std::min(layout.physicalSize, kMaxEndSearch);
    if (!file.seek(layout.physicalSize - n)) {
        errorId = DS_FailedSeek;
        return false;
    }
    const QByteArray tail = file.read(n);
    if (tail.size() != n) {
        errorId = DS_EOCBadRead;
        return false;
    }
    for (qint64 i = n - kEndSize; i >= 0; --i) {
        const char* p = tail.constData() + i;
        if (u32(p) == kEndSig && i + kEndSize + u16(p + 20) <= n) {
            layout.endRecordOffset = layout.physicalSize - n + i;
            layout.totalEntries = u16(p + 10);
            layout.directorySize = u32(p + 12);
            layout.storedOffset = u32(p + 16);
            layout.commentLength = u16(p + 20);
            layout.fileEnd = layout.endRecordOffset + kEndSize + layout.commentLength;
            return true;
        }
    }
    errorId = DS_NoValidZip;
    return false;
}

// The smallest local-header offset, in stored terms (the directory start
// when there are no entries).
bool scanDirectory(QFile& file, ArchiveLayout& layout, quint32& firstLocal, int& errorId) {
    firstLocal = layout.storedOffset;
    if (!file.seek(layout.computedStart)) {
        errorId = LI_ReadZipError;
        return false;
    }
    for (int i = 0; i < layout.totalEntries; ++i) {
        char h[kCentralSize];
        const qint64 got = file.read(h, kCentralSize);
        if (got != kCentralSize || u32(h) != kCentralSig) {
            errorId = got != kCentralSize ? DS_CEHBadRead : DS_CEHWrongSig;
            return false;
        }
        firstLocal = std::min(firstLocal, u32(h + 42));
        const qint64 skip = qint64(u16(h + 28)) + u16(h + 30) + u16(h + 32);
        if (!file.seek(file.pos() + skip)) {
            errorId = LI_ReadZipError;
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<ArchiveLayout> readArchiveLayout(QFile& file, int& errorId) {
    ArchiveLayout layout;
    layout.physicalSize = file.size();
    if (layout.physicalSize < kEndSize) {
        errorId = DS_NoValidZip;
        return std::nullopt;
    }
    if (!findEnd(file, layout, errorId)) return std::nullopt;
    layout.computedStart = layout.endRecordOffset - layout.directorySize;
    if (layout.computedStart < 0) {
        errorId = DS_NoValidZip;
        return std::nullopt;
    }
    layout.structureWarning = layout.computedStart != qint64(layout.storedOffset);
    quint32 firstLocal = 0;
    if (!scanDirectory(file, layout, firstLocal, errorId)) return std::nullopt;
    layout.sfxOffset = qint64(firstLocal) + (layout.computedStart - qint64(layout.storedOffset));
    return layout;
}

} // namespace brx
