#pragma once
// Writes the new archive: the prefix of the old one (a self-extractor),
// kept entries copied byte for byte, new files compressed on all cores and
// written in order by the calling thread, then the central directory.

#include "zipcore/CompressPool.h"
#include "zipcore/ZipFileWriter.h"
#include "zipcore/ZipRecordWriter.h"
#include "zipdll/CallbackReporter.h"
#include "zipdll/ExistingArchive.h"
#include "zipdll/SourceCollector.h"

#include <memory>
#include <string>
#include <vector>

namespace zipcore {
class FileInput;
}

namespace zipdll {

struct OutputJob {
    enum class Kind {
        Keep,
        Folder,
        File
    };
    Kind kind = Kind::Keep;
    size_t keptIndex = 0;               // Keep
    const SourceItem* source = nullptr; // Folder, File
    bool storeOnly = false;             // File with a store suffix
};

struct BuildSettings {
    int level = 6;
    bool encrypt = false;
    std::string password;
    bool forceDos = false;
    std::string comment;
    std::string archiveName; // for messages
};

struct BuildOutcome {
    size_t newEntries = 0;
    std::vector<const SourceItem*> writtenSources;
    std::vector<zipcore::WrittenEntry> writtenNew; // for checking before a move
    uint32_t newestDosTime = 0;                    // packed date/time
};

// Files above this size are streamed by the writing thread itself; smaller
// ones are compressed whole on the pool's workers, within its byte budget.
inline constexpr uint64_t kWholeFileLimit = 32u << 20;
// Sizes from here on live in Zip64 fields (0xFFFFFFFF itself means "see Zip64").
inline constexpr uint64_t kZip64Threshold = 0xFFFFFFFFull;

class ArchiveBuilder {
public:
    ArchiveBuilder(BuildSettings settings, CallbackReporter& reporter, ExistingArchive* existing,
                   zipcore::ZipFileWriter& out);
    ~ArchiveBuilder();

    // Throws CommandError (write failures, limits) and Cancelled.
    BuildOutcome build(const std::vector<OutputJob>& jobs);

private:
    void startPool(const std::vector<OutputJob>& jobs);
    void writeKept(const KeptEntry& kept);
    void writeKeptBytes(uint64_t from, uint64_t to);
    void writeFolder(const SourceItem& source);
    void writePooled(const SourceItem& source, size_t poolIndex);
    enum class StreamResult {
        Written,
        Failed,    // reported; nothing of the entry stays in the archive
        NeedsZip64 // the file grew to 4 GiB: write it again with a Zip64 local header
    };
    void writeStreamed(const SourceItem& source, bool storeOnly);
    StreamResult writeStreamedEntry(zipcore::FileInput& file, const SourceItem& source,
                                    bool deflated, uint32_t crc, bool zip64);
    StreamResult streamData(zipcore::FileInput& file, const SourceItem& source,
                            zipcore::WrittenEntry& entry, uint32_t expectedCrc);
    zipcore::WrittenEntry entryFor(const SourceItem& source, bool deflated) const;
    void addWritten(zipcore::WrittenEntry entry, const SourceItem& source);
    void reportBytes(uint64_t bytes);
    void finish();

    BuildSettings m_settings;
    CallbackReporter& m_reporter;
    ExistingArchive* m_existing;
    zipcore::ZipFileWriter& m_out;
    std::unique_ptr<zipcore::CompressPool> m_pool;
    std::vector<zipcore::WrittenEntry> m_central;
    BuildOutcome m_outcome;
};

} // namespace zipdll
