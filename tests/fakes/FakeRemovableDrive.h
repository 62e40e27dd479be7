#pragma once
// A removable drive for tests: a real folder stands for the drive, and the
// test owns a stack of disks (label, files, size) that are swapped in and
// out of that folder as if the user changed disks. Everything outside the
// drive is one fixed volume "/".

#include "engine/base/UserHost.h"
#include "platform/Volumes.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QDateTime>
#include <QMap>

#include <deque>

namespace brx {

struct FakeDiskFile {
    QByteArray content;
    QDateTime modified;
};

struct FakeDisk {
    QString label;
    qint64 capacityBytes = 1'457'664;
    bool readable = true; // false: no file system the drive can read
    bool labelWritable = true;
    QMap<QString, FakeDiskFile> files; // by file name
    // Where the disk is mounted when inserted (an existing folder with "/");
    // empty: the drive's own folder.
    QString mountPoint;
};

class FakeRemovableDrive final : public IVolumes {
public:
    // root: an existing empty folder, with a trailing "/".
    explicit FakeRemovableDrive(const QString& root);

    int addDisk(const FakeDisk& disk);
    // Puts disk index in the drive (-1 leaves the drive empty); the files of
    // the disk taken out are kept with it.
    void insert(int index);
    int inserted() const { return m_inserted; }
    // The disk's state, its files read back from the folder when inserted.
    FakeDisk disk(int index);
    int diskCount() const { return static_cast<int>(m_disks.size()); }
    QString root() const { return m_root; }
    // The mount point of the disk in the drive (the drive's folder when empty).
    QString currentRoot() const;

    QStringList mountPoints() const override;
    QStringList volumeRoots() const override { return mountPoints(); }
    QString volumeRootOf(const QString& path) const override;
    DriveType driveType(const QString& root) const override;
    QString volumeLabel(const QString& root) const override;
    bool setVolumeLabel(const QString& root, const QString& label) override;
    qint64 freeSpace(const QString& root) const override;
    qint64 capacity(const QString& root) const override;

private:
    void saveFolderTo(FakeDisk& disk) const;
    void fillFolderFrom(const FakeDisk& disk);
    qint64 usedBytes() const;
    bool isDrive(const QString& root) const { return m_inserted >= 0 && root == currentRoot(); }

    QString m_root;
    QList<FakeDisk> m_disks;
    int m_inserted = -1;
};

// A user who answers message boxes from a script and, each time a disk
// prompt (OK/Cancel) is answered OK, changes the disk in the drive to the
// next one queued.
class FakeDiskChanger final : public IUserHost {
public:
    explicit FakeDiskChanger(FakeRemovableDrive& drive) : m_drive(drive) {}

    void queueDisk(int index) { m_disks.push_back(index); }
    ScriptedUserHost script;
    // Past this many boxes every box is cancelled, so that a test whose
    // script runs out cannot loop for ever.
    int maxMessages = 40;

    MsgResult messageBox(const MessageRequest& request) override;
    std::optional<QString> askPassword(const QString&, const QString&) override {
        return std::nullopt;
    }
    void setBusy(bool busy) override { script.setBusy(busy); }
    void processEvents() override { script.processEvents(); }

private:
    FakeRemovableDrive& m_drive;
    std::deque<int> m_disks;
};

} // namespace brx
