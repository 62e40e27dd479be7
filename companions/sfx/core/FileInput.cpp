#include "FileInput.h"

#include "FileSystem.h"

namespace sfxcore {
namespace {

bool seekFile(std::FILE* file, int64_t pos, int whence) {
#ifdef _WIN32
    return _fseeki64(file, pos, whence) == 0;
#else
    return fseeko(file, static_cast<off_t>(pos), whence) == 0;
#endif
}

uint64_t tellFile(std::FILE* file) {
#ifdef _WIN32
    return static_cast<uint64_t>(_ftelli64(file));
#else
    return static_cast<uint64_t>(ftello(file));
#endif
}

} // namespace

FileInput::FileInput(const std::string& path) : m_file(openFile(path, "rb")) {
    if (m_file && seekFile(m_file, 0, SEEK_END)) m_size = tellFile(m_file);
}

FileInput::~FileInput() {
    if (m_file) std::fclose(m_file);
}

size_t FileInput::readAt(uint64_t offset, void* dst, size_t n) {
    if (!m_file || offset >= m_size || !seekFile(m_file, static_cast<int64_t>(offset), SEEK_SET))
        return 0;
    return std::fread(dst, 1, n, m_file);
}

} // namespace sfxcore
