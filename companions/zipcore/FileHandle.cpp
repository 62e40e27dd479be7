#include "zipcore/FileHandle.h"

#include <fcntl.h>
#include <unistd.h>

namespace zipcore {

FileHandle FileHandle::openForReading(const std::string& path) noexcept {
    return FileHandle(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

void FileHandle::reset(int fd) noexcept {
    if (m_fd >= 0 && m_fd != fd) ::close(m_fd);
    m_fd = fd;
}

bool FileHandle::close() noexcept {
    return m_fd < 0 || ::close(release()) == 0;
}

} // namespace zipcore
