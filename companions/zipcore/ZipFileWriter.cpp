#include "zipcore/ZipFileWriter.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace zipcore {

namespace {

constexpr size_t kBufferSize = 1 << 20;

[[noreturn]] void throwErrno() {
    throw std::system_error(errno, std::generic_category());
}

} // namespace

ZipFileWriter::ZipFileWriter(FileHandle file) : m_file(std::move(file)) {
    m_buffer.reserve(kBufferSize);
}

void ZipFileWriter::write(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (m_buffer.size() + size > kBufferSize) {
        flush();
        if (size >= kBufferSize) {
            writeAll(bytes, size);
            m_position += size;
            return;
        }
    }
    m_buffer.insert(m_buffer.end(), bytes, bytes + size);
    m_position += size;
}

void ZipFileWriter::flush() {
    writeAll(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
}

void ZipFileWriter::writeAll(const unsigned char* data, size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(m_file.get(), data, size);
        if (done < 0 && errno == EINTR) continue;
        if (done < 0) throwErrno();
        if (done == 0) {
            errno = ENOSPC;
            throwErrno();
        }
        data += done;
        size -= static_cast<size_t>(done);
    }
}

void ZipFileWriter::patch(uint64_t offset, std::string_view bytes) {
    flush();
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(m_file.get(), bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throwErrno();
        done += static_cast<size_t>(n);
    }
}

void ZipFileWriter::truncateTo(uint64_t offset) {
    flush();
    if (::ftruncate(m_file.get(), static_cast<off_t>(offset)) != 0 ||
        ::lseek(m_file.get(), static_cast<off_t>(offset), SEEK_SET) < 0)
        throwErrno();
    m_position = offset;
}

void ZipFileWriter::sync() {
    flush();
    if (::fsync(m_file.get()) != 0) throwErrno();
}

void ZipFileWriter::close() {
    flush();
    if (!m_file.close()) throwErrno();
}

} // namespace zipcore
