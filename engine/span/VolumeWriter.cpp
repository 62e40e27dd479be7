#include "engine/span/VolumeWriter.h"

#include "engine/span/VolumeNames.h"
#include "engine/base/UserHost.h"

#include <QFileInfo>

namespace brx {

namespace {

// FAT keeps modification times to 2 seconds.
bool sameFileDate(const QDateTime& a, const QDateTime& b) {
    return a.isValid() && b.isValid() && std::abs(a.secsTo(b)) <= 2;
}

} // namespace

VolumeWriter::VolumeWriter(SpanDrive& drive, const QString& firstVolume, const QDateTime& inputDate,
                           DiskFormatFn format)
    : m_drive(drive)
    , m_firstVolume(firstVolume)
    , m_inputDate(inputDate)
    , m_format(std::move(format)) {}

VolumeWriter::~VolumeWriter() {
    closeVolume();
}

void VolumeWriter::write(const char* data, qint64 length, qint64 mustFit) {
    m_drive.host().processEvents();
    if (m_drive.events().cancelRequested()) SpanDrive::fail(DS_Canceled, {}, false);
    for (;;) {
        if (!m_out.isOpen()) openVolume();
        if (mustFit > 0 && mustFit > m_drive.DiskFree) {
            if (m_drive.DiskWritten == 0) // would never fit: do not loop over empty volumes
                SpanDrive::fail(DS_NoDiskSpace);
            nextVolume();
            continue;
        }
        const qint64 count = std::min(m_drive.DiskFree, length);
        if (count > 0 && m_out.write(data, count) != count) SpanDrive::fail(DS_NoWrite);
        if (progressOn && count > 0) m_drive.events().progress(ProgrUpdate, {}, count);
        m_drive.DiskWritten += count;
        m_drive.DiskFree -= count;
        data += count;
        length -= count;
        if (length == 0) return;
        nextVolume();
    }
}

void VolumeWriter::nextVolume() {
    closeVolume();
    m_drive.DiskFree = 0;
    m_drive.DiskWritten = 0;
    m_drive.DiskNr += 1;
    m_drive.NewDisk = true;
}

void VolumeWriter::closeVolume() {
    if (!m_out.isOpen()) return;
    m_out.flush();
    if (m_inputDate.isValid()) m_out.setFileTime(m_inputDate, QFileDevice::FileModificationTime);
    m_out.close();
}

void VolumeWriter::openVolume() {
    for (;;) {
        const DriveType type = m_drive.promptForDisk();
        const QString name = volumeFileName(type);
        if (type == DriveType::Removable && m_drive.settings().AddDiskSpanErase)
            formatDisk(volumeLabelFor(m_drive.DiskNr + 1));
        if (QFileInfo::exists(name) && !confirmOverwrite(name)) continue;
        m_out.setFileName(name);
        if (!m_out.open(QIODevice::WriteOnly | QIODevice::Truncate)) SpanDrive::fail(DS_NoOutFile);
        if (!haveEnoughSpace()) continue;
        if (type == DriveType::Removable &&
            !m_drive.volumes().setVolumeLabel(m_drive.DriveRoot,
                                              volumeLabelFor(m_drive.DiskNr + 1)))
            SpanDrive::fail(DS_NoVolume);
        return;
    }
}

QString VolumeWriter::volumeFileName(DriveType type) const {
    if (type == DriveType::Fixed || type == DriveType::Network)
        return volumeFileNameForWrite(m_firstVolume, m_drive.DiskNr + 1);
    return m_drive.onDrive(m_firstVolume);
}

void VolumeWriter::formatDisk(const QString& label) {
    m_drive.DriveIndex =
        std::max(0, static_cast<int>(m_drive.volumes().mountPoints().indexOf(m_drive.DriveRoot)));
    m_drive.VolumeLabel = label;
    const int result = m_format ? m_format(m_drive.DriveRoot, m_drive.DriveIndex, label) : -3;
    if (result == -2) SpanDrive::fail(DS_Canceled, {}, false);
    if (result == -1) SpanDrive::fail(DS_Canceled, {}, true);
}

// True when the user lets the file be overwritten; false asks for another disk.
bool VolumeWriter::confirmOverwrite(const QString& fileName) {
    if (m_drive.settings().Unattended) SpanDrive::fail(DS_NoUnattSpan);
    const int n = volumeNumberOfLabel(m_drive.VolumeLabel).value_or(1);
    MessageRequest request;
    if (sameFileDate(QFileInfo(fileName).lastModified(), m_inputDate) && n - 1 < m_drive.DiskNr)
        request.text = formatZipStr(DS_AskPrevFile, {n});
    else
        request.text = formatZipStr(DS_AskDeleteFile, {fileName});
    request.caption = QStringLiteral("Confirm");
    request.buttons = MsgButtons::YesNoCancel;
    request.icon = MsgIcon::Warning;
    request.defaultButton = MsgResult::No;
    const MsgResult answer = m_drive.host().messageBox(request);
    if (answer == MsgResult::Yes) return true;
    if (answer != MsgResult::No) SpanDrive::fail(DS_Canceled, {}, false);
    m_drive.DiskWritten = 0;
    m_drive.NewDisk = true;
    return false;
}

// Sizes the new volume; a volume with too little room is deleted and the
// user is asked for another disk (false) or the write is abandoned.
bool VolumeWriter::haveEnoughSpace() {
    const SpanSettings& settings = m_drive.settings();
    m_drive.queryDiskFree(SpanDrive::FreeSpace);
    if (settings.MaxVolumeSize > 0 &&
        (m_drive.DiskFree < 0 || m_drive.DiskFree > settings.MaxVolumeSize))
        m_drive.DiskFree = settings.MaxVolumeSize;
    if (m_drive.DiskNr == 0) m_drive.DiskFree -= settings.KeepFreeOnDisk1;
    if (m_drive.DiskFree >= settings.MinFreeVolumeSize) return true;
    m_out.close();
    m_out.remove();
    if (settings.Unattended) SpanDrive::fail(DS_NoUnattSpan);
    MessageRequest request{formatZipStr(DS_NoDiskSpace), settings.applicationTitle,
                           MsgButtons::RetryCancel, MsgIcon::Error, MsgResult::None};
    const MsgResult answer = m_drive.host().messageBox(request);
    if (answer == MsgResult::None) SpanDrive::fail(DS_NoMem);
    if (answer != MsgResult::Retry) SpanDrive::fail(DS_Canceled, {}, false);
    m_drive.DiskWritten = 0;
    m_drive.NewDisk = true;
    return false;
}

} // namespace brx
