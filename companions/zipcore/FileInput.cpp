#include "zipcore/FileInput.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zipcore {

FileInput::FileInput(const std::string& path) : m_file(FileHandle::openForReading(path)) {
    if (!m_file.isOpen()) {
        m_openError = errno;
        return;
    }
    struct stat info {};
    if (::fstat(m_file.get(), &info) != 0) {
        m_openError = errno;
        m_file.reset();
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        m_openError = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        m_file.reset();
        return;
    }
    m_size = static_cast<uint64_t>(info.st_size);
}

size_t FileInput::readAt(uint64_t offset, void* dst, size_t n) {
    auto* out = static_cast<char*>(dst);
    size_t done = 0;
    while (done < n) {
        const ssize_t got =
            ::pread(m_file.get(), out + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) m_readError.store(errno, std::memory_order_relaxed);
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

} // namespace zipcore
