#include "platform/LinuxFormatter.h"

#include "platform/LinuxVolumes.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace brx {

namespace {
constexpr int kToolTimeoutMs = 10 * 60 * 1000;
constexpr int kMaxFatLabel = 11;
} // namespace

QString LinuxFormatter::deviceOf(const QString& root) {
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    for (const MountEntry& entry : parseMountInfo(file.readAll()))
        if (entry.mountPoint == root) return entry.source;
    return {};
}

bool LinuxFormatter::run(const QString& program, const QStringList& args, QString* error) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (process.waitForStarted() && process.waitForFinished(kToolTimeoutMs) &&
        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    if (error)
        *error =
            program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll()).trimmed();
    return false;
}

// udisks2 formats for a desktop user without root rights; mkfs.vfat needs
// write access to the device.
bool LinuxFormatter::formatThroughUdisks(const QString& device, const QString& label) {
    if (QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty()) return false;
    const QString block = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    QString quoted = label;
    quoted.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return run(QStringLiteral("gdbus"),
               {QStringLiteral("call"), QStringLiteral("--system"), QStringLiteral("--dest"),
                QStringLiteral("org.freedesktop.UDisks2"), QStringLiteral("--object-path"),
                QStringLiteral("/org/freedesktop/UDisks2/block_devices/") + block,
                QStringLiteral("--method"), QStringLiteral("org.freedesktop.UDisks2.Block.Format"),
                QStringLiteral("vfat"), QStringLiteral("{'label': <'%1'>}").arg(quoted)},
               nullptr);
}

bool LinuxFormatter::formatVolume(const QString& root, const QString& label, QString* error) {
    LinuxVolumes volumes;
    const QString device = deviceOf(root);
    // The one safety rule: never format anything but a removable medium.
    if (root == QStringLiteral("/") || !device.startsWith(QStringLiteral("/dev/")) ||
        volumes.driveType(root) != DriveType::Removable) {
        if (error) *error = QStringLiteral("%1 is not a removable volume").arg(root);
        return false;
    }
    const bool haveUdisks = !QStandardPaths::findExecutable(QStringLiteral("udisksctl")).isEmpty();
    const bool unmounted =
        haveUdisks ? run(QStringLiteral("udisksctl"),
                         {QStringLiteral("unmount"), QStringLiteral("-b"), device}, error)
                   : run(QStringLiteral("umount"), {root}, error);
    if (!unmounted) return false;
    const bool formatted = (haveUdisks && formatThroughUdisks(device, label.left(kMaxFatLabel))) ||
                           run(QStringLiteral("mkfs.vfat"),
                               {QStringLiteral("-n"), label.left(kMaxFatLabel), device}, error);
    if (haveUdisks)
        run(QStringLiteral("udisksctl"), {QStringLiteral("mount"), QStringLiteral("-b"), device},
            nullptr);
    else
        run(QStringLiteral("mount"), {device, root}, nullptr);
    return formatted;
}

IFormatter& systemFormatter() {
    static LinuxFormatter formatter;
    return formatter;
}

} // namespace brx
