#pragma once
// The archive opened read-only, read with pread so that the workers can
// fetch entries at the same time as the caller's thread.

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

private:
    int m_fd = -1;
    int m_error = 0;
    uint64_t m_size = 0;
};

} // namespace unzdll
