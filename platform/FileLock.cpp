#include "platform/FileLock.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace brx {

namespace {
// Locks are held for milliseconds: a short poll wakes up soon after release
// while the deadline still bounds the wait for a holder that never lets go.
constexpr auto kPollInterval = std::chrono::milliseconds(1);
} // namespace

ExclusiveFileLock::ExclusiveFileLock(const QString& lockPath, int timeoutMs) {
    m_fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0) return;
    const QDeadlineTimer deadline(timeoutMs);
    while (!(m_locked = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0)) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) return;
        std::this_thread::sleep_for(kPollInterval);
    }
}

ExclusiveFileLock::~ExclusiveFileLock() {
    if (m_fd >= 0) ::close(m_fd); // closing releases the lock
}

} // namespace brx
