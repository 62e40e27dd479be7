#include "zipdll/ExistingArchive.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zipdll {

using namespace zipcore;

DescriptorInput::DescriptorInput(int fd) : m_fd(fd) {
    struct stat info {};
    if (::fstat(fd, &info) == 0) m_size = static_cast<uint64_t>(info.st_size);
}

DescriptorInput::~DescriptorInput() {
    ::close(m_fd);
}

size_t DescriptorInput::readAt(uint64_t offset, void* dst, size_t n) {
    size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(m_fd, static_cast<char*>(dst) + done, n - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

bool ExistingArchive::open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_error = std::strerror(errno);
        return false;
    }
    m_input = std::make_unique<DescriptorInput>(fd);
    const DirectoryResult result = readDirectory(*m_input, m_directory);
    if (!result.ok) {
        m_error = result.error;
        return false;
    }
    m_prefixSize = m_directory.centralStart;
    for (const ZipEntry& entry : m_directory.entries) {
        KeptEntry kept{entry, 0, 0};
        if (!locate(entry, kept)) return false;
        m_prefixSize = std::min(m_prefixSize, kept.start);
        m_entries.push_back(std::move(kept));
    }
    return true;
}

bool ExistingArchive::locate(const ZipEntry& entry, KeptEntry& kept) {
    if (entry.needsZip64()) {
        m_error = "the entry " + entry.name + " uses Zip64, which this library does not write";
        return false;
    }
    const DataLocation location = locateEntryData(*m_input, m_directory, entry);
    if (!location.ok) {
        m_error = entry.name + ": " + location.error;
        return false;
    }
    kept.start = location.headerOffset;
    if (!entryRecordEnd(*m_input, m_directory, entry, location, kept.end)) {
        m_error = entry.name + ": the data descriptor runs past the entry data";
        return false;
    }
    return true;
}

} // namespace zipdll
