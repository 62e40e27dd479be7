#include "tests/fakes/FakeRemovableDrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace brx {

FakeRemovableDrive::FakeRemovableDrive(const QString& root) : m_root(root) {}

int FakeRemovableDrive::addDisk(const FakeDisk& disk) {
    m_disks.append(disk);
    return static_cast<int>(m_disks.size()) - 1;
}

QString FakeRemovableDrive::currentRoot() const {
    if (m_inserted >= 0 && !m_disks[m_inserted].mountPoint.isEmpty())
        return m_disks[m_inserted].mountPoint;
    return m_root;
}

void FakeRemovableDrive::insert(int index) {
    if (m_inserted >= 0) saveFolderTo(m_disks[m_inserted]);
    QDir folder(currentRoot());
    for (const QString& name : folder.entryList(QDir::Files)) folder.remove(name);
    m_inserted = index;
    if (index >= 0) fillFolderFrom(m_disks[index]);
}

FakeDisk FakeRemovableDrive::disk(int index) {
    if (index == m_inserted) saveFolderTo(m_disks[index]);
    return m_disks[index];
}

void FakeRemovableDrive::saveFolderTo(FakeDisk& disk) const {
    disk.files.clear();
    QDir folder(currentRoot());
    for (const QFileInfo& info : folder.entryInfoList(QDir::Files)) {
        QFile file(info.filePath());
        if (file.open(QIODevice::ReadOnly))
            disk.files.insert(info.fileName(), FakeDiskFile{file.readAll(), info.lastModified()});
    }
}

void FakeRemovableDrive::fillFolderFrom(const FakeDisk& disk) {
    for (auto it = disk.files.begin(); it != disk.files.end(); ++it) {
        QFile file(currentRoot() + it.key());
        if (!file.open(QIODevice::WriteOnly)) continue;
        file.write(it->content);
        if (it->modified.isValid())
            file.setFileTime(it->modified, QFileDevice::FileModificationTime);
    }
}

qint64 FakeRemovableDrive::usedBytes() const {
    qint64 used = 0;
    for (const QFileInfo& info : QDir(currentRoot()).entryInfoList(QDir::Files))
        used += info.size();
    return used;
}

QStringList FakeRemovableDrive::mountPoints() const {
    QStringList points{QStringLiteral("/")};
    if (m_inserted >= 0) points.append(currentRoot());
    return points;
}

QString FakeRemovableDrive::volumeRootOf(const QString& path) const {
    if (m_inserted >= 0 && path.startsWith(currentRoot())) return currentRoot();
    return path.startsWith(m_root) ? m_root : QStringLiteral("/");
}

DriveType FakeRemovableDrive::driveType(const QString& root) const {
    if (isDrive(root)) return DriveType::Removable;
    return root == QStringLiteral("/") ? DriveType::Fixed : DriveType::NotMounted;
}

QString FakeRemovableDrive::volumeLabel(const QString& root) const {
    return isDrive(root) ? m_disks[m_inserted].label : QString();
}

bool FakeRemovableDrive::setVolumeLabel(const QString& root, const QString& label) {
    if (!isDrive(root) || !m_disks[m_inserted].labelWritable) return false;
    m_disks[m_inserted].label = label;
    return true;
}

qint64 FakeRemovableDrive::freeSpace(const QString& root) const {
    if (!isDrive(root)) return root == QStringLiteral("/") ? 1'000'000'000 : -1;
    if (!m_disks[m_inserted].readable) return -1;
    return m_disks[m_inserted].capacityBytes - usedBytes();
}

qint64 FakeRemovableDrive::capacity(const QString& root) const {
    if (!isDrive(root)) return root == QStringLiteral("/") ? 2'000'000'000 : -1;
    if (!m_disks[m_inserted].readable) return -1;
    return m_disks[m_inserted].capacityBytes;
}

MsgResult FakeDiskChanger::messageBox(const MessageRequest& request) {
    MsgResult answer = script.messageBox(request);
    if (script.messages.size() > maxMessages) answer = MsgResult::Cancel;
    if (request.buttons == MsgButtons::OkCancel && answer == MsgResult::Ok && !m_disks.empty()) {
        m_drive.insert(m_disks.front());
        m_disks.pop_front();
    }
    return answer;
}

} // namespace brx
