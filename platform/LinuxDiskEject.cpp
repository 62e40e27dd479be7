#include "platform/LinuxDiskEject.h"

#include "platform/LinuxVolumes.h"
#include "platform/Volumes.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace brx {

namespace {

constexpr int kCommandTimeoutMs = 60'000;

bool run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(kCommandTimeoutMs) &&
           process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString deviceOfMount(const QString& volumeRoot) {
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (volumeRoot.isEmpty() || !file.open(QIODevice::ReadOnly)) return {};
    const QString root =
        volumeRoot.endsWith(QLatin1Char('/')) ? volumeRoot : volumeRoot + QLatin1Char('/');
    for (const MountEntry& entry : parseMountInfo(file.readAll()))
        if (entry.mountPoint == root && entry.source.startsWith(QStringLiteral("/dev/")))
            return entry.source;
    return {};
}

bool ejectIoctl(const QString& device) {
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    const bool ok = ::ioctl(fd, CDROMEJECT, 0) == 0;
    ::close(fd);
    return ok;
}

bool ejectWithUdisks(const QString& udisksctl, const QString& device) {
    const QStringList quiet{QStringLiteral("--no-user-interaction")};
    if (!run(udisksctl,
             QStringList{QStringLiteral("unmount"), QStringLiteral("-b"), device} + quiet))
        return false;
    return run(udisksctl, QStringList{QStringLiteral("power-off"), QStringLiteral("-b"),
                                      wholeDiskDevice(device)} +
                              quiet) ||
           ejectIoctl(wholeDiskDevice(device));
}

} // namespace

QString wholeDiskDevice(const QString& device) {
    static const QRegularExpression numbered(
        QStringLiteral("^(/dev/(?:mmcblk|nvme|loop)\\d+(?:n\\d+)?)p\\d+$"));
    static const QRegularExpression lettered(QStringLiteral("^(/dev/(?:sd|hd|vd|xvd)[a-z]+)\\d+$"));
    for (const QRegularExpression* pattern : {&numbered, &lettered})
        if (const auto match = pattern->match(device); match.hasMatch()) return match.captured(1);
    return device;
}

EjectOutcome LinuxDiskEjector::eject(const QString& volumeRoot) {
    if (m_volumes.driveType(volumeRoot) != DriveType::Removable) return EjectOutcome::Failed;
    const QString device = deviceOfMount(volumeRoot);
    if (device.isEmpty()) return EjectOutcome::Failed;
    const QString udisksctl = QStandardPaths::findExecutable(QStringLiteral("udisksctl"));
    if (!udisksctl.isEmpty())
        return ejectWithUdisks(udisksctl, device) ? EjectOutcome::Ejected : EjectOutcome::Failed;
    const QString umount = QStandardPaths::findExecutable(QStringLiteral("umount"));
    if (umount.isEmpty()) return EjectOutcome::Unsupported;
    if (!run(umount, {volumeRoot})) return EjectOutcome::Failed;
    ejectIoctl(wholeDiskDevice(device)); // a USB stick has nothing to eject once unmounted
    return EjectOutcome::Ejected;
}

IDiskEjector& systemDiskEjector() {
    static LinuxDiskEjector ejector(systemVolumes());
    return ejector;
}

} // namespace brx
