#include "platform/LinuxFilesInUse.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace brx {

namespace {

bool identityOf(const QByteArray& path, FileIdentity& identity) {
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) return false;
    identity = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    return true;
}

QByteArray readSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll(); // /proc files report size 0: read to the end
}

bool isProcessFolder(const QString& name) {
    bool number = false;
    name.toUInt(&number);
    return number;
}

} // namespace

bool fdInfoWrites(const QByteArray& fdInfo) {
    for (const QByteArray& line : fdInfo.split('\n')) {
        if (!line.startsWith("flags:")) continue;
        bool ok = false;
        const unsigned flags = line.mid(6).trimmed().toUInt(&ok, 8); // octal
        return ok && (flags & O_ACCMODE) != O_RDONLY;
    }
    return false;
}

// A line reads "1: POSIX  ADVISORY  WRITE 1234 08:02:131090 0 EOF"; the
// blocked waiters' lines carry "->" after the number. The device is
// major:minor in hexadecimal, the inode decimal.
bool parseLockLine(const QByteArray& line, FileIdentity& identity) {
    const QList<QByteArray> words = line.simplified().split(' ');
    for (const QByteArray& word : words) {
        const QList<QByteArray> parts = word.split(':');
        if (parts.size() != 3 || parts[2].isEmpty()) continue;
        bool okMajor = false, okMinor = false, okInode = false;
        const unsigned major = parts[0].toUInt(&okMajor, 16);
        const unsigned minor = parts[1].toUInt(&okMinor, 16);
        const qulonglong inode = parts[2].toULongLong(&okInode, 10);
        if (!okMajor || !okMinor || !okInode) continue;
        identity = {static_cast<std::uint64_t>(makedev(major, minor)), inode};
        return true;
    }
    return false;
}

bool LinuxFilesInUseSnapshot::isInUse(const QString& path) const {
    FileIdentity identity;
    return identityOf(QFile::encodeName(path), identity) && m_busy.count(identity) > 0;
}

LinuxFilesInUse::LinuxFilesInUse(QString procRoot) : m_procRoot(std::move(procRoot)) {}

std::unique_ptr<IFilesInUseSnapshot> LinuxFilesInUse::snapshot() {
    std::set<FileIdentity> busy;
    addWriters(busy);
    addLocks(busy);
    return std::make_unique<LinuxFilesInUseSnapshot>(std::move(busy));
}

void LinuxFilesInUse::addWriters(std::set<FileIdentity>& busy) const {
    const QString self = QString::number(::getpid());
    const QStringList processes = QDir(m_procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : processes) {
        if (pid == self || !isProcessFolder(pid)) continue; // our own writes are the archive's
        const QString base = m_procRoot + QLatin1Char('/') + pid;
        const QStringList fds = QDir(base + QStringLiteral("/fdinfo")).entryList(QDir::Files);
        for (const QString& fd : fds) {
            if (!fdInfoWrites(readSmallFile(base + QStringLiteral("/fdinfo/") + fd))) continue;
            FileIdentity identity;
            if (identityOf(QFile::encodeName(base + QStringLiteral("/fd/") + fd), identity))
                busy.insert(identity);
        }
    }
}

void LinuxFilesInUse::addLocks(std::set<FileIdentity>& busy) const {
    const QByteArray locks = readSmallFile(m_procRoot + QStringLiteral("/locks"));
    for (const QByteArray& line : locks.split('\n')) {
        FileIdentity identity;
        if (parseLockLine(line, identity)) busy.insert(identity);
    }
}

IFilesInUse& systemFilesInUse() {
    static LinuxFilesInUse files;
    return files;
}

} // namespace brx
