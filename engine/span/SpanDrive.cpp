#include "engine/span/SpanDrive.h"

#include "engine/base/UserHost.h"

#include <QDir>
#include <QFileInfo>

namespace brx {

SpanDrive::SpanDrive(IVolumes& volumes, IUserHost& host, ISpanEvents& events,
                     const SpanSettings& settings)
    : m_volumes(volumes)
    , m_host(host)
    , m_events(events)
    , m_settings(settings) {}

void SpanDrive::fail(int id, const QVariantList& args, bool shown) {
    throw EZipEngine(id, args, shown);
}

void SpanDrive::setDriveOf(const QString& path) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    DriveRoot = m_volumes.volumeRootOf(absolute);
    DriveIndex = driveIndexOf(DriveRoot);
    m_originalRoot = DriveRoot;
    m_rootsAtStart = m_volumes.mountPoints();
}

QString SpanDrive::onDrive(const QString& path) const {
    if (DriveRoot == m_originalRoot || !path.startsWith(m_originalRoot)) return path;
    return DriveRoot + path.mid(m_originalRoot.size());
}

// The desktop mounts a removable disk where it likes, often in a folder
// named after its label, so the next disk may appear at another mount
// point. When the drive's own mount point is gone, the one removable volume
// mounted since the run began (or back at the first mount point) is the drive.
bool SpanDrive::followRemovableDrive() {
    QStringList candidates;
    for (const QString& root : m_volumes.mountPoints()) {
        const bool newSinceStart = !m_rootsAtStart.contains(root) || root == m_originalRoot;
        if (newSinceStart && m_volumes.driveType(root) == DriveType::Removable)
            candidates.append(root);
    }
    if (candidates.size() != 1) return false;
    DriveRoot = candidates.first();
    return true;
}

int SpanDrive::driveIndexOf(const QString& root) const {
    return static_cast<int>(std::max<qsizetype>(0, m_volumes.mountPoints().indexOf(root)));
}

// A removable drive without a disk is not mounted on Linux: once the drive
// was seen as removable in this run, "not mounted" means "no disk in it".
bool SpanDrive::checkDrive() {
    VolumeLabel.clear();
    DiskSize = 0;
    if (!DriveRoot.startsWith(QLatin1Char('/'))) fail(DS_NotaDrive, {DriveRoot});
    DriveType type = m_volumes.driveType(DriveRoot);
    if (type == DriveType::NotMounted) {
        if (!m_seenRemovable) fail(DS_DriveNoMount, {DriveRoot});
        if (!followRemovableDrive()) return false;
        type = DriveType::Removable;
    }
    m_seenRemovable = m_seenRemovable || type == DriveType::Removable;
    if (m_volumes.capacity(DriveRoot) < 0) // no readable file system
        return m_settings.AddDiskSpanErase;
    VolumeLabel = m_volumes.volumeLabel(DriveRoot);
    queryDiskFree(FreeSpace | Capacity);
    return type == DriveType::Network || DiskSize != -1;
}

void SpanDrive::queryDiskFree(int flags) {
    if (flags & FreeSpace) DiskFree = m_volumes.freeSpace(DriveRoot);
    if (flags & Capacity) DiskSize = m_volumes.capacity(DriveRoot);
}

DriveType SpanDrive::promptForDisk() {
    m_host.processEvents();
    DriveType type = m_volumes.driveType(DriveRoot);
    MsgResult answer = MsgResult::Ok;
    while ((answer == MsgResult::Ok && !checkDrive()) || NewDisk) {
        type = m_volumes.driveType(DriveRoot);
        if (type == DriveType::Fixed || type == DriveType::Network) {
            NewDisk = false;
            break;
        }
        if (m_settings.Unattended) fail(DS_NoUnattSpan);
        MessageRequest request;
        request.text = promptText() + formatZipStr(DS_InDrive, {DriveRoot});
        request.caption = m_settings.applicationTitle;
        request.buttons = MsgButtons::OkCancel;
        request.icon = DiskNr < 0 ? MsgIcon::Error : MsgIcon::None;
        answer = m_host.messageBox(request);
        NewDisk = false;
    }
    if (answer != MsgResult::Ok) fail(DS_Canceled, {}, false);
    return type;
}

QString SpanDrive::promptText() {
    if (DiskNr < 0) return formatZipStr(DS_InsertDisk);
    if (!writing) return formatZipStr(DS_InsertVolume, {DiskNr + 1, TotalDisks + 1});
    qint64 size = DiskSize;
    if (m_settings.MaxVolumeSize > 0 && m_settings.MaxVolumeSize < size)
        size = m_settings.MaxVolumeSize;
    TotalDisks = DiskNr;
    if (size > 0) {
        const qint64 needed = (archiveLength + m_settings.KeepFreeOnDisk1 + 4) / size;
        TotalDisks = static_cast<int>(std::max<qint64>(TotalDisks, needed));
        return formatZipStr(DS_InsertVolume, {DiskNr + 1, TotalDisks + 1});
    }
    return formatZipStr(DS_InsertAVolume, {DiskNr + 1});
}

} // namespace brx
