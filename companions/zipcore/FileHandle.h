#pragma once
// An open file descriptor with one owner: closed when its owner goes,
// whatever way it goes (return, exception, cancel). Move-only.

#include <string>

namespace zipcore {

class FileHandle {
public:
    FileHandle() noexcept = default;
    explicit FileHandle(int fd) noexcept : m_fd(fd) {}
    ~FileHandle() { reset(); }
    FileHandle(FileHandle&& other) noexcept : m_fd(other.release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Read-only, closed on exec; not open (errno set) on failure.
    static FileHandle openForReading(const std::string& path) noexcept;

    bool isOpen() const noexcept { return m_fd >= 0; }
    int get() const noexcept { return m_fd; }
    // Gives the descriptor up without closing it.
    int release() noexcept {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    // Closes the descriptor held, if any, and takes fd.
    void reset(int fd = -1) noexcept;
    // Closes now and says whether close succeeded (a delayed write error
    // shows here); errno tells why not.
    bool close() noexcept;

private:
    int m_fd = -1;
};

} // namespace zipcore
