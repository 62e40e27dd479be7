#include "engine/span/SpanEndRecord.h"

#include "engine/span/SpanDrive.h"
#include "engine/span/VolumeNames.h"

#include <QFile>

namespace brx {

namespace {

constexpr qint64 kMaxEndBlock = 65535 + kEndSize;

bool startsSpannedSet(QFile& file) {
    const QByteArray head = file.read(8);
    return head.size() == 8 && getLe32(head, 0) == kSpanSignature &&
           getLe32(head, 4) == kLocalSignature;
}

std::optional<FoundEndRecord> scanForEndRecord(QFile& file) {
    const qint64 fileEnd = file.size();
    if (fileEnd < kEndSize) return std::nullopt;
    const qint64 n = std::min(fileEnd, kMaxEndBlock);
    if (!file.seek(fileEnd - n)) SpanDrive::fail(DS_FailedSeek);
    const QByteArray block = file.read(n);
    if (block.size() != n) SpanDrive::fail(DS_EOCBadRead);
    for (qint64 i = n - kEndSize; i >= 0; --i) {
        if (getLe32(block, static_cast<int>(i)) != kEndSignature) continue;
        FoundEndRecord found;
        found.record.raw = block.mid(i, kEndSize);
        found.offset = fileEnd - n + i;
        found.comment = block.mid(i + kEndSize, found.record.commentLength());
        return found;
    }
    return std::nullopt;
}

// The n of a file "nameNNN.ext" on a fixed drive that belongs to a set whose
// first file "name001.ext" starts with the set's signature.
std::optional<int> middleFileNumber(const QString& path) {
    const std::optional<int> n = volumeNumberOfFileName(path);
    if (!n || *n <= 1) return std::nullopt;
    QFile first(volumeFileNameForRead(path, 1));
    if (!first.open(QIODevice::ReadOnly) || !startsSpannedSet(first)) return std::nullopt;
    return n;
}

[[noreturn]] void failNotLast(const QString& path, const QString& volumeLabel, bool spanStart) {
    const std::optional<int> labelNumber = volumeNumberOfLabel(volumeLabel);
    if (!spanStart && labelNumber) SpanDrive::fail(DS_NotLastInSet, {*labelNumber});
    if (!spanStart) {
        if (const std::optional<int> n = middleFileNumber(path))
            SpanDrive::fail(DS_NotLastInSet, {*n});
        SpanDrive::fail(DS_NoValidZip);
    }
    if (labelNumber.value_or(0) == 1) SpanDrive::fail(DS_FirstInSet);
    SpanDrive::fail(DS_FirstFileOnHD);
}

} // namespace

std::optional<FoundEndRecord> findSpanEndRecord(const QString& path, const QString& volumeLabel,
                                                EndSearchMode mode, ISpanEvents& events) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (mode == EndSearchMode::Strict) SpanDrive::fail(DS_NoInFile);
        events.report(DS_FileOpen, formatZipStr(DS_FileOpen), true);
        return std::nullopt;
    }
    const bool spanStart = startsSpannedSet(file);
    std::optional<FoundEndRecord> found;
    try {
        found = scanForEndRecord(file);
    } catch (const EZipEngine&) {
        if (mode == EndSearchMode::Strict) throw;
        return std::nullopt;
    }
    if (found) {
        found->spanStart = spanStart;
        return found;
    }
    if (mode == EndSearchMode::Strict) failNotLast(path, volumeLabel, spanStart);
    return std::nullopt;
}

} // namespace brx
