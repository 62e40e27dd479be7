// List: rebuilds ZipContents from the central directory of ZipFileName.

#include "engine/ByteReader.h"
#include "engine/ZipEngine.h"
#include "engine/base/ScopedGuards.h"
#include "engine/base/UserHost.h"
#include "platform/Volumes.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace brx {

namespace {

constexpr uint16_t kUtf8NameFlag = 1u << 11;
constexpr uint32_t kZip64Marker32 = 0xFFFFFFFFu;
constexpr uint16_t kZip64Marker16 = 0xFFFFu;

const QString kZip64Detail = QStringLiteral(
    "\nIt is a Zip64 archive (more than 4 GB or 65,535 entries), which this program cannot read.");

// The 42 header bytes after the signature, copied field by field.
ZipDirEntry entryFromHeader(const char* h) {
    ZipDirEntry e;
    e.VersionMadeBy = uint8_t(h[4]);
    e.HostSystem = uint8_t(h[5]);
    e.VersionNeeded = le16(h + 6);
    e.GeneralFlags = le16(h + 8);
    e.CompressionMethod = le16(h + 10);
    e.DateTime = le32(h + 12);
    e.CRC32 = le32(h + 16);
    e.CompressedSize = le32(h + 20);
    e.UncompressedSize = le32(h + 24);
    e.FileNameLength = le16(h + 28);
    e.ExtraFieldLength = le16(h + 30);
    e.FileCommentLength = le16(h + 32);
    e.DiskNumberStart = le16(h + 34);
    e.InternalAttributes = le16(h + 36);
    e.ExternalAttributes = le32(h + 38);
    e.LocalHeaderOffset = le32(h + 42);
    e.Encrypted = (e.GeneralFlags & 1u) != 0;
    return e;
}

bool needsZip64(const ZipDirEntry& e) {
    return e.CompressedSize == kZip64Marker32 || e.UncompressedSize == kZip64Marker32 ||
           e.LocalHeaderOffset == kZip64Marker32;
}

} // namespace

void TZipEngine::List() {
    m_zipContents.clear();
    m_arc = ZipArchiveState{};
    if (m_zipFileName.isEmpty() || !QFileInfo(m_zipFileName).isFile()) {
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
        start = m_arc.fileEnd - end.centralSize - end.commentLength - kEndRecordSize;
    } else {
        openDirectoryVolume(archive, end.centralDisk);
        m_arc.fileEnd = archive.size();
        start = end.centralOffset;
    }
    m_arc.zipSOC = start;
    m_arc.sfxOffset = m_arc.fileEnd == kEndRecordSize ? 0 : m_arc.fileEnd;
    if (end.centralOffset != start) {
        m_arc.structureWarning = true;
        ShowZipMessage(LI_WrongZipStruct);
    }
    readCentralDirectory(archive, start);
    // The true position of the first local header, rebased offsets or not.
    m_arc.sfxOffset += start - qint64(end.centralOffset);
}

void TZipEngine::checkZip64(QFile& archive, const EndRecord& end) {
    const bool saturated = end.totalEntries == kZip64Marker16 ||
                           end.centralSize == kZip64Marker32 || end.centralOffset == kZip64Marker32;
    if (!saturated || m_arc.endRecordOffset < kZip64LocatorSize) return;
    if (!archive.seek(m_arc.endRecordOffset - kZip64LocatorSize)) return;
    const QByteArray locator = archive.read(4);
    if (locator.size() == 4 && le32(locator.constData()) == kZip64LocatorSig)
        throw EZipEngine::withDetail(DS_NoValidZip, kZip64Detail);
}

void TZipEngine::readCentralDirectory(QFile& archive, qint64 start) {
    if (start < 0 || !archive.seek(start)) throw EZipEngine(LI_ReadZipError, true);
    m_zipContents.reserve(m_arc.end.totalEntries);
    for (int seqNo = 1; seqNo <= m_arc.end.totalEntries; ++seqNo) {
        m_zipContents.append(readCentralEntry(archive));
        const ZipDirEntry& entry = m_zipContents.constLast();
        if (OnNewName) OnNewName(seqNo, entry);
        if (entry.LocalHeaderOffset < m_arc.sfxOffset) m_arc.sfxOffset = entry.LocalHeaderOffset;
    }
}

ZipDirEntry TZipEngine::readCentralEntry(QFile& archive) {
    char header[kCentralHeaderSize];
    qint64 got = archive.read(header, kCentralHeaderSize);
    while (got != kCentralHeaderSize) {
        // The directory goes on on the next volume.
        if (m_arc.volumeNumber >= m_arc.end.thisDisk) throw EZipEngine(DS_CEHBadRead, true);
        openDirectoryVolume(archive, m_arc.volumeNumber + 1);
        got = archive.read(header, kCentralHeaderSize);
    }
    if (le32(header) != kCentralHeaderSig) throw EZipEngine(DS_CEHWrongSig, true);
    ZipDirEntry entry = entryFromHeader(header);
    if (needsZip64(entry)) throw EZipEngine::withDetail(DS_NoValidZip, kZip64Detail);
    const QByteArray name = readExactly(archive, entry.FileNameLength, DS_CENameLen);
    m_arc.lastHost = entry.HostSystem;
    m_arc.lastVersion = entry.VersionMadeBy;
    const bool utf8 = (entry.GeneralFlags & kUtf8NameFlag) != 0;
    entry.FileName = archiveText(name, m_codePage, entry.HostSystem, entry.VersionMadeBy, utf8);
    if (entry.ExtraFieldLength != 0 && !archive.seek(archive.pos() + entry.ExtraFieldLength))
        throw EZipEngine(LI_ReadZipError, true);
    if (entry.FileCommentLength != 0) {
        const QByteArray comment = readExactly(archive, entry.FileCommentLength, DS_CECommentLen);
        entry.FileComment =
            archiveText(comment, m_codePage, entry.HostSystem, entry.VersionMadeBy, utf8);
    }
    return entry;
}

QByteArray TZipEngine::readExactly(QFile& archive, qint64 length, int errorId) {
    QByteArray bytes = archive.read(length);
    if (bytes.size() != length) throw EZipEngine(errorId, true);
    return bytes;
}

} // namespace brx
