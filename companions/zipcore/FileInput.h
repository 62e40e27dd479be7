#pragma once
// A file on disk read with pread: the one file input of both libraries,
// for the archives they read and the files they add. Several threads may
// read at once. It is deliberately not mapped: another program that
// truncates the file meanwhile would make a mapped read fault and kill the
// caller's process, while pread just comes back short.

#include "zipcore/FileHandle.h"
#include "zipcore/ZipInput.h"

#include <atomic>
#include <string>

namespace zipcore {

class FileInput : public ZipInput {
public:
    // Opens a regular file; see isOpen() and openError().
    explicit FileInput(const std::string& path);

    bool isOpen() const { return m_file.isOpen(); }
    int openError() const { return m_openError; } // errno of a failed open
    uint64_t size() const override { return m_size; }
    // Short at the end of the file, or on a read error (see readError()).
    size_t readAt(uint64_t offset, void* dst, size_t n) override;
    // errno of the last read that failed, 0 when none did.
    int readError() const { return m_readError.load(std::memory_order_relaxed); }

private:
    FileHandle m_file;
    uint64_t m_size = 0;
    int m_openError = 0;
    std::atomic<int> m_readError{0};
};

} // namespace zipcore
