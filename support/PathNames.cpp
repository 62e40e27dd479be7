#include "support/PathNames.h"

#include "platform/Volumes.h"

#include <QDir>
#include <QFileInfo>

namespace brx {

QString WithBackslash(const QString& path) {
    if (path.isEmpty() || path.endsWith(kPathSeparator)) return path;
    return path + kPathSeparator;
}

QString WithoutBackslash(const QString& path) {
    if (path.size() > 1 && path.endsWith(kPathSeparator)) return path.left(path.size() - 1);
    return path;
}

QString DisplayPathName(const QString& path) {
    // A path that does not exist has no form on disk to show: only its
    // trailing separator goes.
    if (path.isEmpty() || !QFileInfo::exists(path)) return WithoutBackslash(path);
    const QString absolute =
        QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path);
    return WithoutBackslash(QDir::cleanPath(absolute));
}

bool isVolumeRoot(const QString& path, const IVolumes& volumes) {
    if (path.isEmpty()) return false;
    const QString wanted = WithBackslash(QDir::cleanPath(path));
    return volumes.mountPoints().contains(wanted);
}

QString changeFileExt(const QString& path, const QString& ext) {
    const int slash = path.lastIndexOf(kPathSeparator);
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > slash) return path.left(dot) + ext;
    return path + ext;
}

} // namespace brx
