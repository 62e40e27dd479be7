#pragma once
// zipcore's random-access input over a file opened through FileSystem.h, so
// that the stub reads its own file under any Windows path (the standard
// streams take narrow paths in the ANSI code page there).

#include "zipcore/ZipInput.h"

#include <cstdio>
#include <string>

namespace sfxcore {

class FileInput final : public zipcore::ZipInput {
public:
    explicit FileInput(const std::string& path);
    ~FileInput() override;
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;

    bool isOpen() const { return m_file != nullptr; }
    uint64_t size() const override { return m_size; }
    size_t readAt(uint64_t offset, void* dst, size_t n) override;

private:
    std::FILE* m_file = nullptr;
    uint64_t m_size = 0;
};

} // namespace sfxcore
