#pragma once
// The ZIP archive that sits behind the stub and its header, read from the
// self-extractor's own file. Offsets may have been shifted past the stub
// (the normal case) or left as they were: both are found.

#include "SfxSettings.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace sfxcore {

struct ArchiveEntry {
    std::string name; // UTF-8, "/" separated
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint64_t localHeaderPos = 0; // file position, shift already applied

    bool encrypted() const { return flags & 0x0001; }
    bool isFolder() const { return !name.empty() && name.back() == '/'; }
};

class SfxArchive {
public:
    enum class Status { Ok, CannotOpen, NoArchive, BadDirectory };

    SfxArchive() = default;
    ~SfxArchive();
    SfxArchive(const SfxArchive&) = delete;
    SfxArchive& operator=(const SfxArchive&) = delete;

    Status open(const std::string& path);

    const std::vector<ArchiveEntry>& entries() const { return m_entries; }
    // Where the archive proper begins (its first local header).
    uint64_t archiveStart() const { return m_archiveStart; }
    // The header in front of the archive, when there is one.
    const std::optional<SfxSettings>& settings() const { return m_settings; }
    // True when every entry's data lies inside the file before the directory.
    bool isComplete();
    // Position of an entry's data and its size as stored; nothing when the
    // local header is unreadable.
    std::optional<uint64_t> dataPosition(const ArchiveEntry& entry);

    std::FILE* file() const { return m_file; }
    bool seekTo(uint64_t pos);

private:
    bool readAt(uint64_t pos, void* buffer, size_t size);
    bool findEndRecord(unsigned char record[22]);
    bool readDirectory(uint64_t start, uint16_t count);
    void readSettings();

    std::FILE* m_file = nullptr;
    uint64_t m_fileSize = 0;
    uint64_t m_endRecordPos = 0;
    uint64_t m_directoryStart = 0;
    uint64_t m_archiveStart = 0;
    int64_t m_shift = 0;
    std::vector<ArchiveEntry> m_entries;
    std::optional<SfxSettings> m_settings;
};

// End of the PE image in front of the header (the end of its last section),
// or nothing when the bytes are not a PE file.
std::optional<uint64_t> peImageEnd(const unsigned char* data, size_t size);

} // namespace sfxcore
