#include "zipdll/TempArchive.h"

#include "brx/ZipDllAbi.h"
#include "zipdll/CommandError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zipdll {

namespace {

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string makeTemp(const std::string& folder, zipcore::FileHandle& file) {
    std::string pattern = folder + (folder.back() == '/' ? "" : "/") + ".zipdll-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    file.reset(::mkostemp(name.data(), O_CLOEXEC));
    return file.isOpen() ? std::string(name.data()) : std::string();
}

void copyDescriptor(int from, int to) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw errno;
        if (got == 0) return;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) throw put == 0 ? ENOSPC : errno;
            done += put;
        }
    }
}

} // namespace

TempArchive::TempArchive(const std::string& targetPath, const std::string& tempDir) {
    const std::string folder = tempDir.empty() ? folderOf(targetPath) : tempDir;
    m_path = makeTemp(folder, m_file);
    if (!m_file.isOpen())
        throw CommandError{BRX_MSG_TEMP_FILE_FAILED, "Cannot create a temporary file in " + folder +
                                                         ": " + std::strerror(errno)};
}

TempArchive::~TempArchive() {
    m_file.reset();
    if (!m_committed && !m_path.empty()) ::unlink(m_path.c_str());
}

void TempArchive::commit(const std::string& targetPath, mode_t mode) {
    ::chmod(m_path.c_str(), mode);
    if (::rename(m_path.c_str(), targetPath.c_str()) == 0) {
        m_committed = true;
        return;
    }
    if (errno != EXDEV)
        throw CommandError{BRX_MSG_REPLACE_FAILED,
                           "Cannot replace " + targetPath + ": " + std::strerror(errno)};
    copyInto(targetPath, mode);
}

// The temporary folder is on another file system: copy the archive next to
// the target first, so that the target is still replaced in one step.
void TempArchive::copyInto(const std::string& targetPath, mode_t mode) {
    TempArchive beside(targetPath, {});
    const zipcore::FileHandle from = zipcore::FileHandle::openForReading(m_path);
    if (!from.isOpen())
        throw CommandError{BRX_MSG_REPLACE_FAILED,
                           "Cannot read " + m_path + ": " + std::strerror(errno)};
    try {
        copyDescriptor(from.get(), beside.m_file.get());
        if (::fsync(beside.m_file.get()) != 0) throw errno;
    } catch (int error) {
        throw CommandError{BRX_MSG_WRITE_FAILED,
                           "Cannot write " + beside.path() + ": " + std::strerror(error)};
    }
    beside.commit(targetPath, mode);
}

} // namespace zipdll
