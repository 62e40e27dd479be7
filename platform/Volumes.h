#pragma once
// Mounted volumes: the Linux rendering of drives. A "volume root" is a mount
// point written with a trailing "/".

#include <QString>
#include <QStringList>

namespace brx {

enum class DriveType {
    NotMounted,
    Removable,
    Fixed,
    Network
};

class IVolumes {
public:
    virtual ~IVolumes() = default;

    // Mount points of real volumes ("/" first, then the others in mount-point
    // order), each with a trailing "/". No pseudo file systems.
    virtual QStringList mountPoints() const = 0;

    // The roots a user can pick: "/" first, then the home folder, then every
    // other real volume in mount-point order; each with a trailing "/".
    virtual QStringList volumeRoots() const = 0;

    // The volume holding path: the longest mount point that prefixes it; for
    // a path that does not exist yet, that of its nearest existing parent.
    virtual QString volumeRootOf(const QString& path) const = 0;

    virtual DriveType driveType(const QString& root) const = 0;
    // File-system label, empty when none or unknown.
    virtual QString volumeLabel(const QString& root) const = 0;
    virtual bool setVolumeLabel(const QString& root, const QString& label) = 0;
    // Bytes available to the user and total bytes; -1 when unknown.
    virtual qint64 freeSpace(const QString& root) const = 0;
    virtual qint64 capacity(const QString& root) const = 0;
};

// The volumes of this machine.
IVolumes& systemVolumes();

} // namespace brx
