#pragma once
#include "platform/DiskEject.h"

#include <QStringList>

namespace brx {

class IVolumes;

// With udisks2 ("udisksctl"), which needs no administrator rights: unmount,
// then power off the drive (optical drives and floppies refuse power-off and
// are ejected instead). Without it: the "umount" program (volumes mounted
// with the "user" option) followed by the CD-ROM eject ioctl. Unsupported
// when neither udisksctl nor umount exists. A volume that the volumes service
// does not report as removable is never unmounted (Failed).
class LinuxDiskEjector final : public IDiskEjector {
public:
    explicit LinuxDiskEjector(const IVolumes& volumes) : m_volumes(volumes) {}
    EjectOutcome eject(const QString& volumeRoot) override;

private:
    const IVolumes& m_volumes;
};

// The whole-disk device of a partition device: /dev/sdb1 -> /dev/sdb,
// /dev/mmcblk0p1 -> /dev/mmcblk0, /dev/nvme0n1p2 -> /dev/nvme0n1; others
// are returned unchanged.
QString wholeDiskDevice(const QString& device);

} // namespace brx
