#pragma once
// Sequential output of an archive being written, with the few seeks the
// writer needs: patching a local header once an entry's sizes are known.
// Failures throw std::system_error carrying errno (ENOSPC for a full disk).

#include "zipcore/FileHandle.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zipcore {

class ZipFileWriter {
public:
    // Takes an open, writable file positioned at 0.
    explicit ZipFileWriter(FileHandle file);
    explicit ZipFileWriter(int fd) : ZipFileWriter(FileHandle(fd)) {}
    ZipFileWriter(const ZipFileWriter&) = delete;
    ZipFileWriter& operator=(const ZipFileWriter&) = delete;

    void write(const void* data, size_t size);
    void write(std::string_view bytes) { write(bytes.data(), bytes.size()); }
    // Overwrites bytes already written at offset.
    void patch(uint64_t offset, std::string_view bytes);
    // Drops everything from offset on (an entry that could not be finished).
    void truncateTo(uint64_t offset);
    uint64_t position() const { return m_position; }

    void flush();
    void sync();
    // Flushes and closes; the file is closed unflushed by the destructor otherwise.
    void close();

private:
    void writeAll(const unsigned char* data, size_t size);

    FileHandle m_file;
    uint64_t m_position = 0;
    std::vector<unsigned char> m_buffer;
};

} // namespace zipcore
