#pragma once
// Writes one entry of the archive to a file: stored or deflated data,
// traditional encryption, CRC check. The file is written beside its target
// under a temporary name and only takes the target's name when complete.

#include "SfxArchive.h"

#include <functional>
#include <string>

namespace sfxcore {

enum class ExtractResult { Ok, WrongPassword, Unsupported, ReadError, WriteError, CrcError };

class EntryExtractor {
public:
    explicit EntryExtractor(SfxArchive& archive) : m_archive(archive) {}

    // Called with the bytes written so far; may be empty.
    std::function<void(uint64_t)> onBytes;

    ExtractResult extract(const ArchiveEntry& entry, const std::string& target, const std::string& password);

    // True when the password opens the entry (its encryption header checks).
    bool passwordOpens(const ArchiveEntry& entry, const std::string& password);

private:
    ExtractResult copyData(const ArchiveEntry& entry, uint64_t pos, const std::string& password, std::FILE* out);

    SfxArchive& m_archive;
};

} // namespace sfxcore
