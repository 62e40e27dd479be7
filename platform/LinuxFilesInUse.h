#pragma once
// Files in use read from /proc: every descriptor of every other process
// whose flags open it for writing (/proc/<pid>/fdinfo), and every lock of
// /proc/locks. Files are told apart by device and inode, so that a file
// reached through another path or a link is still recognised. Processes of
// other users are skipped when their descriptors cannot be read.

#include "platform/FilesInUse.h"

#include <QString>

#include <cstdint>
#include <set>
#include <utility>

namespace brx {

using FileIdentity = std::pair<std::uint64_t, std::uint64_t>; // device, inode

class LinuxFilesInUseSnapshot final : public IFilesInUseSnapshot {
public:
    explicit LinuxFilesInUseSnapshot(std::set<FileIdentity> busy) : m_busy(std::move(busy)) {}
    bool isInUse(const QString& path) const override;
    std::size_t size() const { return m_busy.size(); }

private:
    std::set<FileIdentity> m_busy;
};

class LinuxFilesInUse final : public IFilesInUse {
public:
    // procRoot: "/proc" on a running system; another folder in tests.
    explicit LinuxFilesInUse(QString procRoot = QStringLiteral("/proc"));
    std::unique_ptr<IFilesInUseSnapshot> snapshot() override;

private:
    void addWriters(std::set<FileIdentity>& busy) const;
    void addLocks(std::set<FileIdentity>& busy) const;

    QString m_procRoot;
};

// The flags line of an fdinfo text opens the file for writing (O_WRONLY or O_RDWR).
bool fdInfoWrites(const QByteArray& fdInfo);
// One line of /proc/locks turned into the locked file's identity; false when
// the line cannot be read.
bool parseLockLine(const QByteArray& line, FileIdentity& identity);

} // namespace brx
