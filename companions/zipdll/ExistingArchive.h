#pragma once
// The archive an Add or a Delete starts from: its directory, where each
// entry's bytes lie, and what sits in front of the first entry (a
// self-extractor). Entries that are kept are copied byte for byte.

#include "zipcore/FileInput.h"
#include "zipcore/ZipReader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zipdll {

struct KeptEntry {
    zipcore::ZipEntry entry;
    uint64_t start = 0; // local header
    uint64_t end = 0;   // after the data (and its data descriptor)
};

class ExistingArchive {
public:
    // Opens path; false with the reason in error() when it is not an
    // archive this library can rewrite.
    bool open(const std::string& path);
    const std::string& error() const { return m_error; }

    const std::vector<KeptEntry>& entries() const { return m_entries; }
    const std::string& comment() const { return m_directory.comment; }
    uint64_t prefixSize() const { return m_prefixSize; }
    zipcore::ZipInput& input() { return *m_input; }

private:
    bool locate(const zipcore::ZipEntry& entry, KeptEntry& kept);

    std::unique_ptr<zipcore::FileInput> m_input;
    zipcore::ZipDirectory m_directory;
    std::vector<KeptEntry> m_entries;
    uint64_t m_prefixSize = 0;
    std::string m_error;
};

} // namespace zipdll
