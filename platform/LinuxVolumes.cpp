#include "platform/LinuxVolumes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <sys/statvfs.h>

namespace brx {

namespace {

QString withSlash(QString path) {
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

// mountinfo escapes blanks, tabs, newlines and backslashes as \ooo.
QString unescapeMountField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

// The whole disk behind a partition device name, e.g. sdb1 -> sdb, mmcblk0p1 -> mmcblk0.
QString diskOfDevice(const QString& deviceName) {
    const QString sysPath = QStringLiteral("/sys/class/block/") + deviceName;
    if (QFile::exists(sysPath + QStringLiteral("/partition"))) {
        const QString parent = QFileInfo(QFileInfo(sysPath).canonicalFilePath()).dir().dirName();
        if (!parent.isEmpty()) return parent;
    }
    return deviceName;
}

// udev writes unsafe characters of a label as \xHH (a blank is \x20).
QString decodeUdevLabel(const QString& name) {
    const QByteArray raw = name.toUtf8();
    QByteArray out;
    for (int i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 3 < raw.size() && raw[i + 1] == 'x') {
            bool ok = false;
            const int code = raw.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(raw[i]);
    }
    return QString::fromUtf8(out);
}

} // namespace

bool isNetworkFileSystem(const QString& fsType) {
    static const QStringList kNetwork = {
        QStringLiteral("nfs"),       QStringLiteral("nfs4"),  QStringLiteral("cifs"),
        QStringLiteral("smb3"),      QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs"),
        QStringLiteral("9p"),        QStringLiteral("afs"),   QStringLiteral("ceph"),
        QStringLiteral("glusterfs"), QStringLiteral("davfs")};
    return kNetwork.contains(fsType);
}

QList<MountEntry> parseMountInfo(const QByteArray& text) {
    QList<MountEntry> entries;
    for (const QByteArray& line : text.split('\n')) {
        // id parent major:minor root mountpoint options [optional...] - fstype source superoptions
        const QList<QByteArray> fields = line.split(' ');
        const int dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 5 || dash + 2 >= fields.size()) continue;
        MountEntry entry;
        entry.mountPoint = withSlash(unescapeMountField(fields[4]));
        entry.fsType = QString::fromUtf8(fields[dash + 1]);
        entry.source = unescapeMountField(fields[dash + 2]);
        const bool blockDevice = entry.source.startsWith(QStringLiteral("/dev/")) &&
                                 !entry.fsType.startsWith(QStringLiteral("squashfs"));
        if (!blockDevice && !isNetworkFileSystem(entry.fsType)) continue;
        // A later mount on the same point hides the earlier one.
        entries.erase(
            std::remove_if(entries.begin(), entries.end(),
                           [&](const MountEntry& e) { return e.mountPoint == entry.mountPoint; }),
            entries.end());
        entries.append(entry);
    }
    return entries;
}

QList<MountEntry> LinuxVolumes::mounts() const {
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    QList<MountEntry> entries;
    if (file.open(QIODevice::ReadOnly)) entries = parseMountInfo(file.readAll());
    if (std::none_of(entries.begin(), entries.end(),
                     [](const MountEntry& e) { return e.mountPoint == QStringLiteral("/"); }))
        entries.append(MountEntry{QStringLiteral("/"), QString(), QString()});
    std::sort(entries.begin(), entries.end(),
              [](const MountEntry& a, const MountEntry& b) { return a.mountPoint < b.mountPoint; });
    return entries;
}

MountEntry LinuxVolumes::mountAt(const QString& root) const {
    const QString wanted = withSlash(root);
    for (const MountEntry& e : mounts())
        if (e.mountPoint == wanted) return e;
    return {};
}

QStringList LinuxVolumes::mountPoints() const {
    QStringList points;
    for (const MountEntry& e : mounts()) points.append(e.mountPoint);
    return points; // sorted, so "/" comes first
}

QStringList LinuxVolumes::volumeRoots() const {
    QStringList roots{QStringLiteral("/")};
    const QString home = withSlash(QDir::homePath());
    if (!roots.contains(home)) roots.append(home);
    for (const QString& point : mountPoints())
        if (!roots.contains(point)) roots.append(point);
    return roots;
}

QString LinuxVolumes::volumeRootOf(const QString& path) const {
    QFileInfo info(QDir::cleanPath(QDir(QDir::rootPath()).absoluteFilePath(path)));
    while (!info.exists() && !info.isRoot()) info = QFileInfo(info.absolutePath());
    const QString existing = withSlash(info.absoluteFilePath());
    QString best = QStringLiteral("/");
    for (const QString& point : mountPoints())
        if (existing.startsWith(point) && point.size() > best.size()) best = point;
    return best;
}

DriveType LinuxVolumes::driveType(const QString& root) const {
    const MountEntry entry = mountAt(root);
    if (entry.mountPoint.isEmpty()) return DriveType::NotMounted;
    if (isNetworkFileSystem(entry.fsType)) return DriveType::Network;
    if (!entry.source.startsWith(QStringLiteral("/dev/"))) return DriveType::Fixed;
    const QString device = QFileInfo(QFileInfo(entry.source).canonicalFilePath()).fileName();
    if (device.startsWith(QStringLiteral("fd"))) return DriveType::Removable;
    const QString disk = diskOfDevice(device);
    QFile removable(QStringLiteral("/sys/block/%1/removable").arg(disk));
    if (removable.open(QIODevice::ReadOnly) && removable.readAll().trimmed() == "1")
        return DriveType::Removable;
    const QString sysDevice =
        QFileInfo(QStringLiteral("/sys/block/%1").arg(disk)).canonicalFilePath();
    if (sysDevice.contains(QStringLiteral("/usb")) || sysDevice.contains(QStringLiteral("/mmc")))
        return DriveType::Removable;
    return DriveType::Fixed;
}

QString LinuxVolumes::volumeLabel(const QString& root) const {
    const MountEntry entry = mountAt(root);
    if (!entry.source.startsWith(QStringLiteral("/dev/"))) return {};
    const QString device = QFileInfo(entry.source).canonicalFilePath();
    QDirIterator it(QStringLiteral("/dev/disk/by-label"),
                    QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (QFileInfo(it.filePath()).canonicalFilePath() == device)
            return decodeUdevLabel(it.fileName());
    }
    return {};
}

bool LinuxVolumes::setVolumeLabel(const QString& root, const QString& label) {
    const MountEntry entry = mountAt(root);
    if (!entry.source.startsWith(QStringLiteral("/dev/")) ||
        !entry.fsType.contains(QStringLiteral("fat")))
        return false;
    return QProcess::execute(QStringLiteral("fatlabel"), {entry.source, label}) == 0;
}

qint64 LinuxVolumes::freeSpace(const QString& root) const {
    struct statvfs st {};
    if (statvfs(QFile::encodeName(root).constData(), &st) != 0) return -1;
    return static_cast<qint64>(st.f_bavail) * static_cast<qint64>(st.f_frsize);
}

qint64 LinuxVolumes::capacity(const QString& root) const {
    struct statvfs st {};
    if (statvfs(QFile::encodeName(root).constData(), &st) != 0) return -1;
    return static_cast<qint64>(st.f_blocks) * static_cast<qint64>(st.f_frsize);
}

IVolumes& systemVolumes() {
    static LinuxVolumes volumes;
    return volumes;
}

} // namespace brx
