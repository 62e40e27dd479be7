#include "engine/span/SpanReadJob.h"

#include "engine/span/SpanWriteJob.h"
#include "engine/span/VolumeNames.h"
#include "support/PathNames.h"
#include "platform/UserHost.h"

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
    events.progress(SpanProgress::TotalFiles, {}, m_table.size());
    events.progress(SpanProgress::TotalSize, {}, total);
    if (m_input.readRecord(4, SpanMsg::ExtWrongSig) != le32Bytes(kSpanSignature))
        SpanDrive::fail(SpanMsg::ExtWrongSig);
    for (int i = 0; i < m_table.size(); ++i) copyLocalEntry();
    for (int i = 0; i < m_table.size(); ++i) copyCentralHeader(i);
    writeEndRecord();
}

void SpanReadJob::finish(bool ok, QString& target) {
    m_context.events.progress(SpanProgress::EndOfBatch, {}, 0);
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
        if (!temp.open()) SpanDrive::fail(SpanMsg::NoTempFile);
        name = temp.fileName();
    } else {
        QFile::remove(target);
    }
    target = changeFileExt(name, QStringLiteral(".zip"));
    m_out.setFileName(target);
    if (!m_out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        SpanDrive::fail(SpanMsg::NoOutFile);
}

// The end record sits on the last volume. On a fixed drive a file without
// one tells which file of the set the user gave instead.
void SpanReadJob::findLastVolume() {
    for (bool firstPass = true;; firstPass = false) {
        if (!firstPass && !m_drive.isRemovable()) {
            const std::optional<int> n = volumeNumberOfFileName(m_input.inputName());
            if (!n) SpanDrive::fail(SpanMsg::NoValidZip);
            if (*n == 1) SpanDrive::fail(SpanMsg::FirstFileOnHD);
            SpanDrive::fail(SpanMsg::NotLastInSet, {*n});
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
        VolumeCentralHeader header{m_input.readRecord(kCentralSize, SpanMsg::CEHBadRead)};
        if (header.signature() != kCentralSignature) SpanDrive::fail(SpanMsg::CEHWrongSig);
        const QByteArray name = m_input.readRecord(header.nameLength(), SpanMsg::CENameLen);
        m_table.append(name, header.compressedSize());
        total += name.size() + qint64(header.compressedSize()) + header.extraLength() +
                 header.commentLength();
        m_input.skip(header.extraLength() + header.commentLength());
    }
    return total;
}

void SpanReadJob::copyLocalEntry() {
    VolumeLocalHeader header{m_input.readRecord(kLocalSize, SpanMsg::LOHBadRead)};
    if (header.signature() != kLocalSignature) SpanDrive::fail(SpanMsg::LOHWrongSig);
    const QByteArray name = m_input.readRecord(header.nameLength(), SpanMsg::LONameLen);
    const int row = m_table.findUnplaced(name);
    if (row < 0) SpanDrive::fail(SpanMsg::EntryLost);
    m_table.at(row).volume = 0;
    m_table.at(row).offset = static_cast<uint32_t>(m_out.pos());
    const uint32_t dataSize =
        header.compressedSize() ? header.compressedSize() : m_table.at(row).compressedSize;
    const QString shown = entryDisplayName(name, header.flags());
    m_context.events.message(kCopying + shown);
    m_context.events.progress(SpanProgress::NewFile, shown,
                              qint64(dataSize) + name.size() + header.extraLength() + kLocalSize +
                                  (header.hasDescriptor() ? kDescriptorSize : 0));
    write(header.raw + name, SpanMsg::LOHBadWrite);
    copyData(header.extraLength(), SpanMsg::LOExtraLen);
    copyData(dataSize, SpanMsg::ZipData);
    if (header.hasDescriptor()) copyData(kDescriptorSize, SpanMsg::DataDesc);
}

void SpanReadJob::copyCentralHeader(int index) {
    VolumeCentralHeader header{m_input.readRecord(kCentralSize, SpanMsg::CEHBadRead)};
    if (header.signature() != kCentralSignature) SpanDrive::fail(SpanMsg::CEHWrongSig);
    const QByteArray name = m_input.readRecord(header.nameLength(), SpanMsg::CENameLen);
    if (index == 0) m_directoryOffset = static_cast<uint32_t>(m_out.pos());
    if (!m_table.nameMatches(index, name) || m_table.at(index).volume < 0)
        SpanDrive::fail(SpanMsg::EntryLost);
    header.setLocalHeaderOffset(m_table.at(index).offset);
    header.setDiskNumberStart(0);
    write(header.bytes() + name, SpanMsg::CEHBadWrite);
    write(m_input.readRecord(header.extraLength(), SpanMsg::CEExtraLen), SpanMsg::CEHBadWrite);
    write(m_input.readRecord(header.commentLength(), SpanMsg::CECommentLen), SpanMsg::CEHBadWrite);
}

void SpanReadJob::writeEndRecord() {
    VolumeEndRecord end = m_end.record;
    end.setThisDisk(0);
    end.setDirectoryDisk(0);
    end.setDirectoryOffset(m_directoryOffset);
    end.setEntriesOnDisk(end.totalEntries());
    write(end.bytes(), SpanMsg::EOCBadWrite);
    if (m_end.comment.size() != end.commentLength()) SpanDrive::fail(SpanMsg::EOArchComLen);
    write(m_end.comment, SpanMsg::EOCBadWrite);
}

void SpanReadJob::write(const QByteArray& bytes, int errorId) {
    if (m_out.write(bytes) != bytes.size()) SpanDrive::fail(errorId);
}

void SpanReadJob::copyData(qint64 length, int errorId) {
    while (length > 0) {
        m_drive.host().processEvents();
        if (m_context.events.cancelRequested()) SpanDrive::fail(SpanMsg::Canceled, {}, false);
        const QByteArray block = m_input.readData(std::min(length, kCopyBlock), errorId);
        write(block, errorId);
        m_context.events.progress(SpanProgress::Update, {}, block.size());
        length -= block.size();
    }
}

} // namespace brx
