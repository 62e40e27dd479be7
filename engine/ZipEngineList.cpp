// List: rebuilds ZipContents from the central directory of ZipFileName.

#include "engine/base/ArchiveFileInput.h"
#include "zipcore/ZipFormat.h"
#include "engine/ZipEngine.h"
#include "engine/base/CentralErrorMessage.h"
#include "engine/base/ScopedGuards.h"
#include "engine/base/UserHost.h"
#include "platform/Volumes.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

#include "zipcore/CentralDirectory.h"
#include "zipcore/EntryName.h"

namespace brx {

namespace {

const QString kZip64Detail = QStringLiteral(
    "\nIt is a Zip64 archive (more than 4 GB or 65,535 entries), which this program cannot read.");

// The 42 header bytes after the signature, field by field.
ZipDirEntry entryFromRecord(const zipcore::ZipEntry& r) {
    ZipDirEntry e;
    e.VersionMadeBy = uint8_t(r.versionMadeBy & 0xFF);
    e.HostSystem = r.hostSystem();
    e.VersionNeeded = r.versionNeeded;
    e.GeneralFlags = r.flags;
    e.CompressionMethod = r.method;
    e.DateTime = (uint32_t(r.dosDate) << 16) | r.dosTime;
    e.CRC32 = r.crc32;
    e.CompressedSize = r.compressedSize;
    e.UncompressedSize = r.uncompressedSize;
    e.FileNameLength = uint16_t(r.name.size());
    e.ExtraFieldLength = uint16_t(r.extra.size());
    e.FileCommentLength = uint16_t(r.comment.size());
    e.DiskNumberStart = r.diskStart;
    e.InternalAttributes = r.internalAttributes;
    e.ExternalAttributes = r.externalAttributes;
    e.LocalHeaderOffset = r.localHeaderOffset;
    e.Encrypted = r.isEncrypted();
    return e;
}

// The engine's message for a directory the format layer refused.
EZipEngine walkFailure(const zipcore::CentralWalk& walk) {
    const int id = centralErrorMessageId(walk.error);
    if (id != DS_NoValidZip) return EZipEngine(id, true);
    return EZipEngine::withDetail(DS_NoValidZip,
                                  QStringLiteral("\n") + QString::fromStdString(walk.message()));
}

} // namespace

void TZipEngine::List() {
    ZipOutcomeScope outcome(m_outcome, m_zipFileName, existingArchive(), nullptr, true);
    m_zipContents.clear();
    m_arc = ZipArchiveState{};
    // An empty file is a new archive: nothing to list, nothing to complain about.
    if (m_zipFileName.isEmpty() || !existingArchive()) {
        if (OnDirUpdate) OnDirUpdate();
        return;
    }
    std::optional<ScopedBusyCursor> busy(std::in_place, *m_host);
    QFile archive(m_zipFileName);
    try {
        listArchive(archive);
    } catch (const EZipEngine& e) {
        ShowExceptionError(e);
        failList();
    } catch (const std::bad_alloc&) {
        ShowZipMessage(GE_NoMem);
        failList();
    } catch (const std::exception& e) {
        ShowZipMessage(LI_ErrorUnknown, QString::fromLocal8Bit(e.what()));
        failList();
    }
    busy.reset();
    archive.close();
    if (OnDirUpdate) OnDirUpdate();
}

void TZipEngine::failList() {
    m_zipFileName.clear();
    m_arc.sfxOffset = 0;
}

void TZipEngine::listArchive(QFile& archive) {
    const QString root = m_volumes->volumeRootOf(QFileInfo(m_zipFileName).absoluteFilePath());
    if (root.isEmpty() || m_volumes->driveType(root) == DriveType::NotMounted)
        throw EZipEngine(DS_DriveNoMount, root);
    m_arc.volumeLabel = m_volumes->volumeLabel(root);
    m_arc.diskSize = m_volumes->capacity(root);
    m_arc.diskFree = m_volumes->freeSpace(root);

    findEndRecord(archive, true);
    const EndRecord& end = m_arc.end;
    checkZip64(archive, end);
    m_arc.totalDisks = end.thisDisk;
    if (end.thisDisk != 0) m_arc.isSpanned = true;

    qint64 start = 0;
    if (end.centralDisk == end.thisDisk) {
        // Computed from the end, so that a prefix in front of the archive does not matter.
        start = m_arc.fileEnd - end.centralSize - end.commentLength - zipcore::kEndOfCentralSize;
    } else {
        openDirectoryVolume(archive, end.centralDisk);
        m_arc.fileEnd = archive.size();
        start = end.centralOffset;
    }
    m_arc.zipSOC = start;
    m_arc.sfxOffset = m_arc.fileEnd == zipcore::kEndOfCentralSize ? 0 : m_arc.fileEnd;
    if (end.centralOffset != start) {
        m_arc.structureWarning = true;
        ShowZipMessage(LI_WrongZipStruct);
    }
    readCentralDirectory(archive, start);
    // The true position of the first local header, rebased offsets or not.
    m_arc.sfxOffset += start - qint64(end.centralOffset);
}

void TZipEngine::checkZip64(QFile& archive, const EndRecord& end) {
    ArchiveFileInput input(archive);
    if (zipcore::endRecordSaturated(end) && zipcore::hasZip64Locator(input, m_arc.endRecordOffset))
        throw EZipEngine::withDetail(DS_NoValidZip, kZip64Detail);
}

// The directory's bytes, from start on; a directory that goes on past the
// end of its volume continues at the start of the next one.
QByteArray TZipEngine::readDirectoryBytes(QFile& archive, qint64 start) {
    const qint64 size = m_arc.end.centralSize;
    if (start < 0 || !archive.seek(start)) throw EZipEngine(LI_ReadZipError, true);
    QByteArray bytes = archive.read(size);
    while (bytes.size() < size && m_arc.volumeNumber < m_arc.end.thisDisk) {
        openDirectoryVolume(archive, m_arc.volumeNumber + 1);
        bytes += archive.read(size - bytes.size());
    }
    return bytes;
}

void TZipEngine::readCentralDirectory(QFile& archive, qint64 start) {
    const QByteArray bytes = readDirectoryBytes(archive, start);
    std::vector<zipcore::ZipEntry> records;
    const zipcore::CentralWalk walk =
        zipcore::walkCentralDirectory(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                      size_t(bytes.size()), m_arc.end.totalEntries, records);
    m_zipContents.reserve(qsizetype(records.size()));
    const zipcore::CodePageMode mode = toFormatMode(m_codePage);
    int seqNo = 0;
    for (const zipcore::ZipEntry& record : records) {
        if (record.needsZip64()) throw EZipEngine::withDetail(DS_NoValidZip, kZip64Detail);
        ZipDirEntry entry = entryFromRecord(record);
        m_arc.lastHost = entry.HostSystem;
        m_arc.lastVersion = entry.VersionMadeBy;
        entry.FileName = QString::fromStdString(zipcore::entryNameUtf8(record, mode));
        if (!record.comment.empty())
            entry.FileComment = QString::fromStdString(zipcore::entryCommentUtf8(record, mode));
        m_zipContents.append(std::move(entry));
        const ZipDirEntry& added = m_zipContents.constLast();
        if (OnNewName) OnNewName(++seqNo, added);
        if (added.LocalHeaderOffset < m_arc.sfxOffset) m_arc.sfxOffset = added.LocalHeaderOffset;
    }
    if (!walk.ok()) throw walkFailure(walk);
}

} // namespace brx
