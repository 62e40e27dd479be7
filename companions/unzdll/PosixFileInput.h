#pragma once
// The archive opened read-only and read with pread, which several threads
// may call at once. It is deliberately not mapped: another program that
// truncates the archive during a command would make a mapped read fault
// and kill the caller's process, while pread just comes back short and the
// entry is reported as damaged. Reading also costs less CPU time here than
// faulting the mapped pages in.

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
