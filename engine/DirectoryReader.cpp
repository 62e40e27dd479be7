// The directory reader: the archive state and the entries of one archive.

#include "engine/DirectoryReader.h"
#include "engine/base/CentralErrorMessage.h"

#include "engine/MessagePath.h"
#include "engine/base/ArchiveFileInput.h"
#include "engine/base/EZipEngine.h"
#include "platform/Volumes.h"
#include "zipcore/CentralDirectory.h"
#include "zipcore/EntryName.h"
#include "zipcore/ZipFormat.h"

#include <QFile>
#include <QFileInfo>

namespace brx {

namespace {

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

DirectoryReader::DirectoryReader(IVolumes& volumes, MessagePath& messages,
                                 const TNewNameEvent& onNewName, VolumeRequest requestVolume)
    : m_volumes(volumes)
    , m_messages(messages)
    , m_onNewName(onNewName)
    , m_requestVolume(std::move(requestVolume)) {}

QString DirectoryReader::comment(TCodePageMode mode) const {
    const auto versionMadeBy = uint16_t((m_arc.lastHost << 8) | m_arc.lastVersion);
    const QByteArray& raw = m_arc.rawComment;
    return QString::fromStdString(
        zipcore::archiveTextUtf8(std::string_view(raw.constData(), size_t(raw.size())), false,
                                 versionMadeBy, toFormatMode(mode)));
}

void DirectoryReader::clear() {
    m_entries.clear();
    m_arc = ZipArchiveState{};
}

bool DirectoryReader::read(QFile& archive, TCodePageMode codePage) {
    try {
        readArchive(archive, codePage);
        return true;
    } catch (const EZipEngine& e) {
        m_messages.report(e);
    } catch (const std::bad_alloc&) {
        m_messages.show(GE_NoMem);
    } catch (const std::exception& e) {
        m_messages.show(LI_ErrorUnknown, QString::fromLocal8Bit(e.what()));
    }
    // The entries read before the failure stay; the archive has no known start.
    m_arc.sfxOffset = 0;
    return false;
}

void DirectoryReader::readArchive(QFile& archive, TCodePageMode codePage) {
    const QString root = m_volumes.volumeRootOf(QFileInfo(archive.fileName()).absoluteFilePath());
    if (root.isEmpty() || m_volumes.driveType(root) == DriveType::NotMounted)
        throw EZipEngine(DS_DriveNoMount, root);
    m_arc.volumeLabel = m_volumes.volumeLabel(root);
    m_arc.diskSize = m_volumes.capacity(root);
    m_arc.diskFree = m_volumes.freeSpace(root);
    findEndRecord(archive, true);
    resolveDirectoryEnd(archive);
    const zipcore::DirectoryEnd& end = m_arc.directory;
    m_arc.totalDisks = int(end.thisDisk);
    if (end.thisDisk != 0) m_arc.isSpanned = true;

    qint64 start = 0;
    if (end.centralDisk == end.thisDisk) {
        // Computed from the end, so that a prefix in front of the archive does not matter.
        start = qint64(end.directoryEnd) - qint64(end.centralSize);
    } else {
        openDirectoryVolume(archive, int(end.centralDisk));
        m_arc.fileEnd = archive.size();
        start = end.centralOffset;
    }
    m_arc.zipSOC = start;
    m_arc.sfxOffset = m_arc.fileEnd == zipcore::kEndOfCentralSize ? 0 : m_arc.fileEnd;
    if (qint64(end.centralOffset) != start) {
        m_arc.structureWarning = true;
        m_messages.show(LI_WrongZipStruct);
    }
    readCentralDirectory(archive, start, codePage);
    // The true position of the first local header, rebased offsets or not.
    m_arc.sfxOffset += start - qint64(end.centralOffset);
}

// The directory's bounds: the end record's, or the Zip64 end record's when
// a locator precedes it (sizes, offsets and counts past 32 and 16 bits).
void DirectoryReader::resolveDirectoryEnd(QFile& archive) {
    ArchiveFileInput input(archive);
    zipcore::EndRecordLocation location;
    location.offset = uint64_t(m_arc.endRecordOffset);
    location.record = m_arc.end;
    const zipcore::DirectoryEndResult resolved = zipcore::resolveDirectoryEnd(input, location);
    if (!resolved.ok)
        throw EZipEngine::withDetail(DS_NoValidZip,
                                     QStringLiteral("\n") + QString::fromStdString(resolved.error));
    m_arc.directory = resolved.end;
}

// The directory's bytes, from start on; a directory that goes on past the
// end of its volume continues at the start of the next one.
QByteArray DirectoryReader::readDirectoryBytes(QFile& archive, qint64 start) {
    const qint64 size = qint64(m_arc.directory.centralSize);
    if (start < 0 || size < 0 || !archive.seek(start)) throw EZipEngine(LI_ReadZipError, true);
    QByteArray bytes = archive.read(size);
    while (bytes.size() < size && m_arc.volumeNumber < int(m_arc.directory.thisDisk)) {
        openDirectoryVolume(archive, m_arc.volumeNumber + 1);
        bytes += archive.read(size - bytes.size());
    }
    return bytes;
}

void DirectoryReader::readCentralDirectory(QFile& archive, qint64 start, TCodePageMode codePage) {
    const QByteArray bytes = readDirectoryBytes(archive, start);
    std::vector<zipcore::ZipEntry> records;
    const zipcore::CentralWalk walk = zipcore::walkCentralDirectory(
        reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()),
        m_arc.directory.totalEntries, records, m_arc.directory.zip64);
    m_entries.reserve(qsizetype(records.size()));
    const zipcore::CodePageMode mode = toFormatMode(codePage);
    int seqNo = 0;
    for (const zipcore::ZipEntry& record : records) {
        if (record.zip64Missing)
            throw EZipEngine::withDetail(
                DS_NoValidZip, QStringLiteral("\n") + QString::fromStdString(record.name) +
                                   QStringLiteral(": ") + zipcore::kMissingZip64Text);
        ZipDirEntry entry = entryFromRecord(record);
        m_arc.lastHost = entry.HostSystem;
        m_arc.lastVersion = entry.VersionMadeBy;
        entry.FileName = QString::fromStdString(zipcore::entryNameUtf8(record, mode));
        if (!record.comment.empty())
            entry.FileComment = QString::fromStdString(zipcore::entryCommentUtf8(record, mode));
        m_entries.append(std::move(entry));
        const ZipDirEntry& added = m_entries.constLast();
        if (m_onNewName) m_onNewName(++seqNo, added);
        if (qint64(added.LocalHeaderOffset) < m_arc.sfxOffset)
            m_arc.sfxOffset = qint64(added.LocalHeaderOffset);
    }
    if (!walk.ok()) throw walkFailure(walk);
}

// The central directory starts on, or goes on to, another volume of the
// set: that volume is asked for and replaces the open file.
void DirectoryReader::openDirectoryVolume(QFile& archive, int disk) {
    const QString name = m_requestVolume(archive.fileName(), disk, m_arc.totalDisks);
    archive.close();
    archive.setFileName(name);
    if (!archive.open(QIODevice::ReadOnly)) throw EZipEngine(DS_NoInFile, true);
    m_arc.volumeNumber = disk;
}

} // namespace brx
