#pragma once
// The ZIP archive that sits behind the stub and its header, read from the
// self-extractor's own file with zipcore's reader. Offsets may have been
// shifted past the stub (the normal case) or left as they were: both work.

#include "FileInput.h"
#include "SfxSettings.h"
#include "zipcore/ZipReader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sfxcore {

struct ArchiveEntry {
    std::string name; // UTF-8, as stored otherwise
    zipcore::ZipEntry record;

    bool encrypted() const { return record.isEncrypted(); }
    bool isFolder() const { return record.isDirectory(); }
};

class SfxArchive {
public:
    enum class Status {
        Ok,
        CannotOpen,
        NoArchive
    };

    explicit SfxArchive(const std::string& path) : m_input(path) {}

    Status open();

    const std::vector<ArchiveEntry>& entries() const { return m_entries; }
    // Where the archive proper begins (its first local header).
    uint64_t archiveStart() const { return m_archiveStart; }
    // The header in front of the archive, when there is one.
    const std::optional<SfxSettings>& settings() const { return m_settings; }
    // True when every entry's local header and data lie inside the file.
    bool isComplete();

    zipcore::ZipInput& input() { return m_input; }
    const zipcore::ZipDirectory& directory() const { return m_directory; }

private:
    void readSettings();

    FileInput m_input;
    zipcore::ZipDirectory m_directory;
    std::vector<ArchiveEntry> m_entries;
    uint64_t m_archiveStart = 0;
    std::optional<SfxSettings> m_settings;
};

// End of the PE image in front of the header (the end of its last section),
// or nothing when the bytes are not a PE file.
std::optional<uint64_t> peImageEnd(const unsigned char* data, size_t size);

} // namespace sfxcore
