#pragma once
// The archive opened read-only and mapped into memory, so that the workers
// decode entries straight from the page cache while the caller's thread
// reads too; pread when it cannot be mapped. The archive must not shrink
// while a command runs (another program truncating it would fault).

#include "zipcore/ZipInput.h"

#include <string>

namespace unzdll {

class PosixFileInput : public zipcore::ZipInput {
public:
    explicit PosixFileInput(const std::string& path);
    ~PosixFileInput() override;
    PosixFileInput(const PosixFileInput&) = delete;
    PosixFileInput& operator=(const PosixFileInput&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int openError() const { return m_error; }
    uint64_t size() const override { return m_size; }
    size_t readAt(uint64_t offset, void* dst, size_t n) override;
    const unsigned char* view(uint64_t offset, size_t n) const override;

private:
    void map();

    const unsigned char* m_map = nullptr;
    int m_fd = -1;
    int m_error = 0;
    uint64_t m_size = 0;
};

} // namespace unzdll
