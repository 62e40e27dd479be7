#include "engine/sfx/ArchiveLayout.h"

#include "engine/base/ArchiveFileInput.h"
#include "engine/base/ZipMsg.h"
#include "engine/base/CentralErrorMessage.h"
#include "zipcore/CentralDirectory.h"

#include <algorithm>

namespace brx {
namespace {

bool readEnd(QFile& file, ArchiveLayout& layout, int& errorId) {
    ArchiveFileInput input(file);
    const zipcore::EndSearch search = zipcore::findEndRecord(input);
    if (!search.found()) {
        errorId =
            search.status == zipcore::EndSearchStatus::ReadError ? DS_EOCBadRead : DS_NoValidZip;
        return false;
    }
    const zipcore::EndRecordLocation& found = search.location;
    const zipcore::DirectoryEndResult resolved = zipcore::resolveDirectoryEnd(input, found);
    if (!resolved.ok) {
        errorId = DS_NoValidZip;
        return false;
    }
    const zipcore::DirectoryEnd& directory = resolved.end;
    layout.directory = directory;
    if (directory.zip64) {
        layout.zip64Records.resize(size_t(found.offset - directory.directoryEnd));
        if (!input.readExact(directory.directoryEnd, layout.zip64Records.data(),
                             layout.zip64Records.size())) {
            errorId = DS_EOCBadRead;
            return false;
        }
    }
    layout.end = found.record;
    layout.comment = found.comment;
    layout.endRecordOffset = qint64(found.offset);
    layout.fileEnd = qint64(found.commentEnd);
    layout.totalEntries = directory.totalEntries;
    layout.directorySize = directory.centralSize;
    layout.storedOffset = directory.centralOffset;
    layout.commentLength = found.record.commentLength;
    return true;
}

bool readDirectory(QFile& file, ArchiveLayout& layout, int& errorId) {
    if (!file.seek(layout.computedStart)) {
        errorId = LI_ReadZipError;
        return false;
    }
    const QByteArray bytes = file.read(qint64(layout.directorySize));
    const zipcore::CentralWalk walk = zipcore::walkCentralDirectory(
        reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()),
        layout.totalEntries, layout.entries, layout.directory.zip64);
    if (!walk.ok()) errorId = centralErrorMessageId(walk.error);
    return walk.ok();
}

} // namespace

std::optional<ArchiveLayout> readArchiveLayout(QFile& file, int& errorId) {
    ArchiveLayout layout;
    layout.physicalSize = file.size();
    if (!readEnd(file, layout, errorId)) return std::nullopt;
    layout.computedStart = qint64(layout.directory.directoryEnd) - qint64(layout.directorySize);
    if (layout.directorySize > layout.directory.directoryEnd) {
        errorId = DS_NoValidZip;
        return std::nullopt;
    }
    layout.structureWarning = layout.computedStart != qint64(layout.storedOffset);
    if (!readDirectory(file, layout, errorId)) return std::nullopt;
    // The smallest local-header offset, in stored terms (the directory start
    // when there are no entries).
    uint64_t firstLocal = layout.storedOffset;
    for (const zipcore::ZipEntry& entry : layout.entries)
        firstLocal = std::min(firstLocal, entry.localHeaderOffset);
    layout.sfxOffset = qint64(firstLocal) + (layout.computedStart - qint64(layout.storedOffset));
    return layout;
}

} // namespace brx
