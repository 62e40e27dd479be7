#include "platform/Trash.h"

#include "platform/Volumes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace brx {

namespace {

dev_t deviceOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_dev : dev_t(-1);
}

bool makePrivateFolder(const QString& path) {
    if (!QDir().mkpath(path)) return false;
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

// Creates "<name>.trashinfo" exclusively under a name not yet taken in
// files/; returns that name, empty when none could be reserved.
QString reserveTrashName(const QString& trash, const QString& original) {
    const QFileInfo info(original);
    const QString base = info.fileName();
    const QByteArray record =
        "[Trash Info]\nPath=" + QUrl::toPercentEncoding(info.absoluteFilePath(), "/") +
        "\nDeletionDate=" + QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + "\n";
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? base : QStringLiteral("%1.%2").arg(base).arg(n);
        if (QFileInfo::exists(trash + QStringLiteral("/files/") + name)) continue;
        QFile recordFile(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
        if (!recordFile.open(QIODevice::WriteOnly | QIODevice::NewOnly)) continue;
        if (recordFile.write(record) == record.size()) return name;
        recordFile.remove();
        return {};
    }
    return {};
}

bool moveInto(const QString& trash, const QString& path) {
    if (!makePrivateFolder(trash + QStringLiteral("/files")) ||
        !makePrivateFolder(trash + QStringLiteral("/info")))
        return false;
    const QString name = reserveTrashName(trash, path);
    if (name.isEmpty()) return false;
    const QString target = trash + QStringLiteral("/files/") + name;
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    QFile::remove(trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
    return false;
}

} // namespace

QString homeTrashFolder() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/Trash");
}

bool moveToTrash(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return false;
    const QString absolute = info.absoluteFilePath();
    const QString home = homeTrashFolder();
    QDir().mkpath(QFileInfo(home).absolutePath());
    if (deviceOf(QFileInfo(home).absolutePath()) == deviceOf(info.absolutePath()))
        return moveInto(home, absolute);
    // Another volume: its own trash at the top, so nothing is copied across.
    const QString top = systemVolumes().volumeRootOf(absolute);
    return moveInto(top + QStringLiteral(".Trash-") + QString::number(::getuid()), absolute);
}

} // namespace brx
