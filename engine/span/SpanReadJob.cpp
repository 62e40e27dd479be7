#include "engine/span/SpanReadJob.h"

#include "engine/span/SpanWriteJob.h"
#include "engine/span/VolumeNames.h"
#include "support/PathNames.h"
#include "engine/base/UserHost.h"

#include <QFileInfo>
#include <QTemporaryFile>

namespace brx {

namespace {
constexpr qint64 kCopyBlock = 8192;
const QString kCopying = QStringLiteral("Copying: ");
} // namespace

SpanReadJob::SpanReadJob(SpanContext& context, const QString& archiveName)
    : m_context(context)
    , m_drive(context.volumes, context.host, context.events, context.settings)
    , m_input(m_drive, archiveName) {
    m_drive.setDriveOf(archiveName);
    m_drive.DiskNr = -1;
    m_drive.NewDisk = false;
}

void SpanReadJob::run(QString& target) {
    createTarget(target);
    findLastVolume();
    const qint64 total = readDirectory();
    m_input.openVolume(0);
    ISpanEvents& events = m_context.events;
    events.progress(ProgrTotalFiles, {}, m_table.size());
    events.progress(ProgrTotalSize, {}, total);
    if (m_input.readRecord(4, DS_ExtWrongSig) != le32Bytes(kSpanSignature))
        SpanDrive::fail(DS_ExtWrongSig);
    for (int i = 0; i < m_table.size(); ++i) copyLocalEntry();
    for (int i = 0; i < m_table.size(); ++i) copyCentralHeader(i);
    writeEndRecord();
}

void SpanReadJob::finish(bool ok, QString& target) {
    m_context.events.progress(ProgrEndOfBatch, {}, 0);
    m_input.close();
    if (m_out.isOpen()) {
        m_out.flush();
        if (m_inputDate.isValid())
            m_out.setFileTime(m_inputDate, QFileDevice::FileModificationTime);
        m_out.close();
    }
    if (!ok) {
        if (!m_out.fileName().isEmpty()) QFile::remove(m_out.fileName());
        target.clear();
    }
}

void SpanReadJob::createTarget(QString& target) {
    QString name = target;
    if (QFileInfo(target).isDir()) {
        QTemporaryFile temp(WithBackslash(target) + QStringLiteral("zipXXXXXX"));
        temp.setAutoRemove(true);
        if (!temp.open()) SpanDrive::fail(DS_NoTempFile);
        name = temp.fileName();
    } else {
        QFile::remove(target);
    }
    target = changeFileExt(name, QStringLiteral(".zip"));
    m_out.setFileName(target);
    if (!m_out.open(QIODevice::WriteOnly | QIODevice::Truncate)) SpanDrive::fail(DS_NoOutFile);
}

// The end record sits on the last volume. On a fixed drive a file without
// one tells which file of the set the user gave instead.
void SpanReadJob::findLastVolume() {
    for (bool firstPass = true;; firstPass = false) {
        if (!firstPass && !m_drive.isRemovable()) {
            const std::optional<int> n = volumeNumberOfFileName(m_input.inputName());
            if (!n) SpanDrive::fail(DS_NoValidZip);
            if (*n == 1) SpanDrive::fail(DS_FirstFileOnHD);
            SpanDrive::fail(DS_NotLastInSet, {*n});
        }
        m_drive.promptForDisk();
        m_drive.NewDisk = true;
        const auto found = findSpanEndRecord(m_input.inputName(), m_drive.VolumeLabel,
                                             EndSearchMode::Quiet, m_context.events);
        if (found) {
            m_end = *found;
            return;
        }
    }
}

// Returns the bytes the copy will move, for the progress total.
qint64 SpanReadJob::readDirectory() {
    m_inputDate = QFileInfo(m_input.inputName()).lastModified();
    m_drive.TotalDisks = m_end.record.thisDisk();
    if (m_end.record.directoryDisk() != m_end.record.thisDisk())
        m_input.openVolume(m_end.record.directoryDisk());
    else
        m_input.openCurrent(m_drive.TotalDisks);
    m_input.seek(m_end.record.directoryOffset());
    qint64 total = 0;
    for (int i = 0; i < m_end.record.totalEntries(); ++i) {
        VolumeCentralHeader header{m_input.readRecord(kCentralSize, DS_CEHBadRead)};
        if (header.signature() != kCentralSignature) SpanDrive::fail(DS_CEHWrongSig);
        const QByteArray name = m_input.readRecord(header.nameLength(), DS_CENameLen);
        m_table.append(name, header.compressedSize());
        total += name.size() + qint64(header.compressedSize()) + header.extraLength() +
                 header.commentLength();
        m_input.skip(header.extraLength() + header.commentLength());
    }
    return total;
}

void SpanReadJob::copyLocalEntry() {
    VolumeLocalHeader header{m_input.readRecord(kLocalSize, DS_LOHBadRead)};
    if (header.signature() != kLocalSignature) SpanDrive::fail(DS_LOHWrongSig);
    const QByteArray name = m_input.readRecord(header.nameLength(), DS_LONameLen);
    const int row = m_table.findUnplaced(name);
    if (row < 0) SpanDrive::fail(DS_EntryLost);
    m_table.at(row).volume = 0;
    m_table.at(row).offset = static_cast<uint32_t>(m_out.pos());
    const uint32_t dataSize =
        header.compressedSize() ? header.compressedSize() : m_table.at(row).compressedSize;
    const QString shown = entryDisplayName(name, header.flags());
    m_context.events.message(kCopying + shown);
    m_context.events.progress(ProgrNewFile, shown,
                              qint64(dataSize) + name.size() + header.extraLength() + kLocalSize +
                                  (header.hasDescriptor() ? kDescriptorSize : 0));
    write(header.raw + name, DS_LOHBadWrite);
    copyData(header.extraLength(), DS_LOExtraLen);
    copyData(dataSize, DS_ZipData);
    if (header.hasDescriptor()) copyData(kDescriptorSize, DS_DataDesc);
}

void SpanReadJob::copyCentralHeader(int index) {
    VolumeCentralHeader header{m_input.readRecord(kCentralSize, DS_CEHBadRead)};
    if (header.signature() != kCentralSignature) SpanDrive::fail(DS_CEHWrongSig);
    const QByteArray name = m_input.readRecord(header.nameLength(), DS_CENameLen);
    if (index == 0) m_directoryOffset = static_cast<uint32_t>(m_out.pos());
    if (!m_table.nameMatches(index, name) || m_table.at(index).volume < 0)
        SpanDrive::fail(DS_EntryLost);
    header.setLocalHeaderOffset(m_table.at(index).offset);
    header.setDiskNumberStart(0);
    write(header.bytes() + name, DS_CEHBadWrite);
    write(m_input.readRecord(header.extraLength(), DS_CEExtraLen), DS_CEHBadWrite);
    write(m_input.readRecord(header.commentLength(), DS_CECommentLen), DS_CEHBadWrite);
}

void SpanReadJob::writeEndRecord() {
    VolumeEndRecord end = m_end.record;
    end.setThisDisk(0);
    end.setDirectoryDisk(0);
    end.setDirectoryOffset(m_directoryOffset);
    end.setEntriesOnDisk(end.totalEntries());
    write(end.bytes(), DS_EOCBadWrite);
    if (m_end.comment.size() != end.commentLength()) SpanDrive::fail(DS_EOArchComLen);
    write(m_end.comment, DS_EOCBadWrite);
}

void SpanReadJob::write(const QByteArray& bytes, int errorId) {
    if (m_out.write(bytes) != bytes.size()) SpanDrive::fail(errorId);
}

void SpanReadJob::copyData(qint64 length, int errorId) {
    while (length > 0) {
        m_drive.host().processEvents();
        if (m_context.events.cancelRequested()) SpanDrive::fail(DS_Canceled, {}, false);
        const QByteArray block = m_input.readData(std::min(length, kCopyBlock), errorId);
        write(block, errorId);
        m_context.events.progress(ProgrUpdate, {}, block.size());
        length -= block.size();
    }
}

} // namespace brx
