#include "engine/span/SpanInput.h"

#include "engine/span/VolumeNames.h"

namespace brx {

SpanInput::SpanInput(SpanDrive& drive, const QString& anyVolume)
    : m_drive(drive)
    , m_name(anyVolume) {}

void SpanInput::openVolume(int n) {
    m_file.close();
    m_drive.DiskNr = n;
    for (;;) {
        do {
            m_drive.NewDisk = true;
            m_drive.promptForDisk();
        } while (!acceptsVolumeName());
        m_file.setFileName(inputName());
        if (m_file.open(QIODevice::ReadOnly)) return;
        if (!m_drive.isRemovable()) SpanDrive::fail(DS_NoInFile);
        m_drive.events().report(DS_NoInFile, formatZipStr(DS_NoInFile), true);
    }
}

void SpanInput::openCurrent(int n) {
    m_file.close();
    m_drive.DiskNr = n;
    m_file.setFileName(inputName());
    if (!m_file.open(QIODevice::ReadOnly)) SpanDrive::fail(DS_NoInFile);
}

// Files of a set on a fixed drive differ by the number before the
// extension; disks of a set by their label.
bool SpanInput::acceptsVolumeName() {
    if (!m_drive.isRemovable()) {
        m_name = volumeFileNameForRead(m_name, m_drive.DiskNr + 1);
        return true;
    }
    return m_drive.VolumeLabel == volumeLabelFor(m_drive.DiskNr + 1);
}

bool SpanInput::canContinue() const {
    return m_file.atEnd() && m_drive.DiskNr < m_drive.TotalDisks;
}

QByteArray SpanInput::readRecord(qint64 length, int errorId) {
    QByteArray bytes = m_file.read(length);
    if (bytes.isEmpty() && length > 0 && canContinue()) {
        openVolume(m_drive.DiskNr + 1);
        bytes = m_file.read(length);
    }
    if (bytes.size() != length) SpanDrive::fail(errorId);
    return bytes;
}

QByteArray SpanInput::readData(qint64 length, int errorId) {
    QByteArray bytes = m_file.read(length);
    while (bytes.size() < length && canContinue()) {
        openVolume(m_drive.DiskNr + 1);
        bytes += m_file.read(length - bytes.size());
    }
    if (bytes.size() != length) SpanDrive::fail(errorId);
    return bytes;
}

void SpanInput::seek(qint64 pos) {
    if (!m_file.seek(pos)) SpanDrive::fail(DS_FailedSeek);
}

} // namespace brx
