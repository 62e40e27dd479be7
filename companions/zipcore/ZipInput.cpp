#include "zipcore/ZipInput.h"

#include <cstring>

namespace zipcore {

size_t MemoryInput::readAt(uint64_t offset, void* dst, size_t n) {
    if (offset >= m_size) return 0;
    const size_t available = static_cast<size_t>(m_size - offset);
    const size_t count = n < available ? n : available;
    std::memcpy(dst, m_data + offset, count);
    return count;
}

StreamFileInput::StreamFileInput(const std::string& path) : m_file(path, std::ios::binary) {
    if (!m_file) return;
    m_file.seekg(0, std::ios::end);
    const std::streamoff end = m_file.tellg();
    if (end < 0) return;
    m_size = static_cast<uint64_t>(end);
    m_open = true;
}

size_t StreamFileInput::readAt(uint64_t offset, void* dst, size_t n) {
    if (!m_open || offset >= m_size) return 0;
    m_file.clear();
    m_file.seekg(static_cast<std::streamoff>(offset));
    m_file.read(static_cast<char*>(dst), static_cast<std::streamsize>(n));
    const std::streamsize got = m_file.gcount();
    return got > 0 ? static_cast<size_t>(got) : 0;
}

} // namespace zipcore
