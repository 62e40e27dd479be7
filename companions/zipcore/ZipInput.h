#pragma once
// Random-access input for the ZIP reader: an archive on disk or in memory.
// Reads past the end are short, never errors of their own.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace zipcore {

class ZipInput {
public:
    virtual ~ZipInput() = default;
    virtual uint64_t size() const = 0;
    // Copies up to n bytes from offset; returns how many were available.
    virtual size_t readAt(uint64_t offset, void* dst, size_t n) = 0;

    bool readExact(uint64_t offset, void* dst, size_t n) { return readAt(offset, dst, n) == n; }
};

// Bytes owned by the caller; safe to read from several threads.
class MemoryInput : public ZipInput {
public:
    MemoryInput(const void* data, size_t size)
        : m_data(static_cast<const unsigned char*>(data))
        , m_size(size) {}
    uint64_t size() const override { return m_size; }
    size_t readAt(uint64_t offset, void* dst, size_t n) override;

private:
    const unsigned char* m_data;
    size_t m_size;
};

// A file read through the standard library only (also builds for Windows).
// One reader at a time.
class StreamFileInput : public ZipInput {
public:
    explicit StreamFileInput(const std::string& path);
    bool isOpen() const { return m_open; }
    uint64_t size() const override { return m_size; }
    size_t readAt(uint64_t offset, void* dst, size_t n) override;

private:
    std::ifstream m_file;
    uint64_t m_size = 0;
    bool m_open = false;
};

} // namespace zipcore
