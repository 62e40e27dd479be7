#pragma once
// Writes one entry of the archive to a file with zipcore's decoder. The
// file is written beside its target under a temporary name and only takes
// the target's name when complete and checked.

#include "SfxArchive.h"
#include "zipcore/EntryDecoder.h"

#include <string>

namespace sfxcore {

enum class ExtractResult {
    Ok,
    WrongPassword,
    Unsupported,
    ReadError,
    WriteError,
    CrcError
};

class EntryExtractor {
public:
    explicit EntryExtractor(SfxArchive& archive) : m_archive(archive), m_decoder(256 * 1024) {}

    ExtractResult extract(const ArchiveEntry& entry, const std::string& target,
                          const std::string& password);

    // True when the password opens the entry (its encryption header checks).
    bool passwordOpens(const ArchiveEntry& entry, const std::string& password);

private:
    SfxArchive& m_archive;
    zipcore::EntryDecoder m_decoder;
};

} // namespace sfxcore
