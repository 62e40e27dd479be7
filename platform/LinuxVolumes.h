#pragma once
#include "platform/Volumes.h"

#include <QList>

namespace brx {

struct MountEntry {
    QString mountPoint; // with a trailing "/"
    QString source;     // device or share
    QString fsType;
};

// Parses /proc/self/mountinfo text; keeps block devices and network shares.
QList<MountEntry> parseMountInfo(const QByteArray& text);
bool isNetworkFileSystem(const QString& fsType);

class LinuxVolumes final : public IVolumes {
public:
    QStringList mountPoints() const override;
    QStringList volumeRoots() const override;
    QString volumeRootOf(const QString& path) const override;
    DriveType driveType(const QString& root) const override;
    QString volumeLabel(const QString& root) const override;
    bool setVolumeLabel(const QString& root, const QString& label) override;
    qint64 freeSpace(const QString& root) const override;
    qint64 capacity(const QString& root) const override;

private:
    QList<MountEntry> mounts() const;
    MountEntry mountAt(const QString& root) const;
};

} // namespace brx
