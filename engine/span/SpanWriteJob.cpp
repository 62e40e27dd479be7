#include "engine/span/SpanWriteJob.h"

#include "engine/base/ScopedGuards.h"
#include "engine/span/VolumeNames.h"
#include "engine/base/CentralErrorMessage.h"
#include "engine/base/EZipEngine.h"
#include "zipcore/CentralDirectory.h"
#include "zipcore/DirectoryEnd.h"
#include "zipcore/FileInput.h"

#include <QFileInfo>

namespace brx {

namespace {

constexpr qint64 kCopyBlock = 8192;
const QString kCopying = QStringLiteral("Copying: ");

// Volume sets are for small removable disks: an archive that needs Zip64
// records (past 4 GB or 65,535 entries) is refused before a volume is made.
void refuseZip64(const QString& source) {
    zipcore::FileInput input(QFile::encodeName(source).toStdString());
    const zipcore::EndSearch search = zipcore::findEndRecord(input);
    if (!search.found()) return; // the strict end-record search reports it
    const zipcore::DirectoryEndResult resolved =
        zipcore::resolveDirectoryEnd(input, search.location);
    if (resolved.ok && !resolved.end.zip64) return;
    throw EZipEngine::withDetail(
        DS_NoValidZip,
        QStringLiteral("\nIt is a Zip64 archive (over 4 GB or 65,535 entries), which cannot be "
                       "split into volumes for removable disks."));
}
} // namespace

QString entryDisplayName(const QByteArray& name, uint16_t flags) {
    return (flags & 0x0800) ? QString::fromUtf8(name) : QString::fromLatin1(name);
}

SpanWriteJob::SpanWriteJob(SpanContext& context, const QString& source, const QString& firstVolume)
    : m_context(context)
    , m_drive(context.volumes, context.host, context.events, context.settings)
    , m_source(source)
    , m_firstVolume(firstVolume) {
    m_drive.setDriveOf(firstVolume);
    m_drive.DiskNr = 0;
    m_drive.DiskFree = 0;
    m_drive.NewDisk = true;
    m_drive.DiskWritten = 0;
    m_drive.writing = true;
}

SpanWriteJob::~SpanWriteJob() = default;

void SpanWriteJob::run() {
    openSource();
    buildTable();
    m_writer->write(le32Bytes(kSpanSignature));
    const ScopedValue<bool> progress(m_writer->progressOn, true);
    ISpanEvents& events = m_context.events;
    events.progress(ProgrTotalFiles, {}, m_table.size());
    events.progress(ProgrTotalSize, {}, m_in.size());
    seekInput(0);
    for (int i = 0; i < m_table.size(); ++i) copyLocalEntry();
    const QString central = formatZipStr(DS_CopyCentral);
    events.message(kCopying + central);
    events.progress(ProgrNewFile, central,
                    qint64(m_end.record.directorySize()) + m_end.record.commentLength() + kEndSize);
    seekInput(m_end.record.directoryOffset());
    for (int i = 0; i < m_table.size(); ++i) copyCentralHeader(i, i == 0);
    writeEndRecord();
}

void SpanWriteJob::finish() {
    m_context.events.progress(ProgrEndOfBatch, {}, 0);
    if (m_writer) m_writer->closeVolume();
    m_in.close();
}

void SpanWriteJob::openSource() {
    if (!QFileInfo(m_source).isFile()) SpanDrive::fail(DS_NoInFile);
    refuseZip64(m_source);
    m_end = *findSpanEndRecord(m_source, {}, EndSearchMode::Strict, m_context.events);
    m_in.setFileName(m_source);
    if (!m_in.open(QIODevice::ReadOnly)) SpanDrive::fail(DS_NoInFile);
    m_drive.archiveLength = m_in.size();
    const QDateTime date = QFileInfo(m_source).lastModified();
    m_writer = std::make_unique<VolumeWriter>(m_drive, m_firstVolume, date, m_context.format);
}

// The directory gives each entry's compressed size, which a local header
// written before its data was known may lack.
void SpanWriteJob::buildTable() {
    seekInput(m_end.record.directoryOffset());
    const QByteArray directory = m_in.read(m_end.record.directorySize());
    std::vector<zipcore::ZipEntry> entries;
    const zipcore::CentralWalk walk = zipcore::walkCentralDirectory(
        reinterpret_cast<const unsigned char*>(directory.constData()), size_t(directory.size()),
        m_end.record.totalEntries(), entries);
    if (!walk.ok()) SpanDrive::fail(centralErrorMessageId(walk.error));
    for (const zipcore::ZipEntry& entry : entries)
        m_table.append(QByteArray::fromStdString(entry.name), entry.compressedSize);
}

void SpanWriteJob::copyLocalEntry() {
    VolumeLocalHeader header{readInput(kLocalSize, DS_LOHBadRead)};
    if (header.signature() != kLocalSignature) SpanDrive::fail(DS_LOHWrongSig);
    const QByteArray name = readInput(header.nameLength(), DS_LONameLen);
    const int row = m_table.findUnplaced(name);
    if (row < 0) SpanDrive::fail(DS_EntryLost);
    const uint32_t dataSize =
        header.compressedSize() ? header.compressedSize() : m_table.at(row).compressedSize;
    const QString shown = entryDisplayName(name, header.flags());
    m_context.events.message(kCopying + shown);
    m_context.events.progress(ProgrNewFile, shown,
                              qint64(dataSize) + name.size() + header.extraLength() + kLocalSize +
                                  (header.hasDescriptor() ? kDescriptorSize : 0));
    m_writer->write(header.raw, kLocalSize + name.size() + header.extraLength());
    m_table.at(row).volume = m_drive.DiskNr;
    m_table.at(row).offset = static_cast<uint32_t>(m_drive.DiskWritten - kLocalSize);
    m_writer->write(name);
    copyInput(header.extraLength(), DS_LOExtraLen);
    copyInput(dataSize, DS_ZipData);
    if (header.hasDescriptor()) copyInput(kDescriptorSize, DS_DataDesc);
}

void SpanWriteJob::copyCentralHeader(int index, bool first) {
    VolumeCentralHeader header{readInput(kCentralSize, DS_CEHBadRead)};
    if (header.signature() != kCentralSignature) SpanDrive::fail(DS_CEHWrongSig);
    const QByteArray name = readInput(header.nameLength(), DS_CENameLen);
    if (!m_table.nameMatches(index, name) || m_table.at(index).volume < 0)
        SpanDrive::fail(DS_EntryLost);
    header.setDiskNumberStart(static_cast<uint16_t>(m_table.at(index).volume));
    header.setLocalHeaderOffset(m_table.at(index).offset);
    m_writer->write(header.bytes(),
                    kCentralSize + name.size() + header.extraLength() + header.commentLength());
    if (first) {
        m_directoryVolume = m_drive.DiskNr;
        m_directoryOffset = static_cast<uint32_t>(m_drive.DiskWritten - kCentralSize);
    }
    m_writer->write(name);
    copyInput(header.extraLength(), DS_CEExtraLen);
    copyInput(header.commentLength(), DS_CECommentLen);
}

void SpanWriteJob::writeEndRecord() {
    VolumeEndRecord end = m_end.record;
    const qint64 size = kEndSize + end.commentLength();
    m_writer->write(nullptr, 0, size); // moves to the next volume when the record would not fit
    end.setThisDisk(static_cast<uint16_t>(m_drive.DiskNr));
    end.setDirectoryDisk(static_cast<uint16_t>(m_directoryVolume));
    end.setDirectoryOffset(m_directoryOffset);
    end.setEntriesOnDisk(end.totalEntries());
    m_writer->write(end.bytes(), size);
    seekInput(m_end.offset + kEndSize);
    copyInput(end.commentLength(), DS_EOArchComLen);
}

QByteArray SpanWriteJob::readInput(qint64 length, int errorId) {
    const QByteArray bytes = m_in.read(length);
    if (bytes.size() != length) SpanDrive::fail(errorId);
    return bytes;
}

void SpanWriteJob::copyInput(qint64 length, int errorId) {
    while (length > 0) {
        const QByteArray block = readInput(std::min(length, kCopyBlock), errorId);
        m_writer->write(block);
        length -= block.size();
    }
}

void SpanWriteJob::seekInput(qint64 pos) {
    if (!m_in.seek(pos)) SpanDrive::fail(DS_FailedSeek);
}

} // namespace brx
