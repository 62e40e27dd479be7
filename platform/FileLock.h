#pragma once
// An exclusive advisory lock on a lock file, shared by processes and by
// threads alike (each lock opens the file itself). The system releases it
// when its holder ends, however it ends: no lock is ever left behind.

#include <QString>

namespace brx {

class ExclusiveFileLock {
public:
    // Creates lockPath when missing and waits at most timeoutMs for the lock.
    ExclusiveFileLock(const QString& lockPath, int timeoutMs);
    ~ExclusiveFileLock();
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

    // False when the file could not be opened or the wait ran out.
    bool isLocked() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = false;
};

} // namespace brx
