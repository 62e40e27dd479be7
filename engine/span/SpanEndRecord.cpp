#include "engine/span/SpanEndRecord.h"

#include "engine/base/ArchiveFileInput.h"
#include "engine/span/SpanDrive.h"
#include "engine/span/VolumeNames.h"

#include <QFile>

namespace brx {

namespace {

bool startsSpannedSet(QFile& file) {
    const QByteArray head = file.read(8);
    return head.size() == 8 && getLe32(head, 0) == kSpanSignature &&
           getLe32(head, 4) == kLocalSignature;
}

// The one end-record search of the ZIP format layer.
std::optional<FoundEndRecord> scanForEndRecord(QFile& file) {
    ArchiveFileInput input(file);
    const zipcore::EndSearch search = zipcore::findEndRecord(input);
    if (search.status == zipcore::EndSearchStatus::ReadError) SpanDrive::fail(DS_EOCBadRead);
    if (!search.found()) return std::nullopt;
    FoundEndRecord found;
    found.record.fields = search.location.record;
    found.offset = qint64(search.location.offset);
    found.comment =
        QByteArray(search.location.comment.data(), qsizetype(search.location.comment.size()));
    return found;
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
