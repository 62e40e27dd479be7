#include "PosixFileInput.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace unzdll {

PosixFileInput::PosixFileInput(const std::string& path)
{
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        m_error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_size = static_cast<uint64_t>(info.st_size);
    map();
}

void PosixFileInput::map()
{
    if (m_size == 0 || m_size > SIZE_MAX)
        return;
    void* address = ::mmap(nullptr, static_cast<size_t>(m_size), PROT_READ, MAP_PRIVATE, m_fd, 0);
    if (address == MAP_FAILED)
        return;
    m_map = static_cast<const unsigned char*>(address);
}

const unsigned char* PosixFileInput::view(uint64_t offset, size_t n) const
{
    return m_map && offset <= m_size && n <= m_size - offset ? m_map + offset : nullptr;
}

PosixFileInput::~PosixFileInput()
{
    if (m_map)
        ::munmap(const_cast<unsigned char*>(m_map), static_cast<size_t>(m_size));
    if (m_fd >= 0)
        ::close(m_fd);
}

size_t PosixFileInput::readAt(uint64_t offset, void* dst, size_t n)
{
    if (m_map) {
        if (offset >= m_size)
            return 0;
        const size_t count = static_cast<size_t>(std::min<uint64_t>(n, m_size - offset));
        std::memcpy(dst, m_map + offset, count);
        return count;
    }
    auto* out = static_cast<char*>(dst);
    size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(m_fd, out + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    return done;
}

} // namespace unzdll
