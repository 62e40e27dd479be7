#pragma once
// Decides, on the caller's thread and in archive order, what becomes of
// each selected entry before any byte of it is decoded: where it may land,
// whether an existing file may be replaced, which password opens it.
// Entries that cannot or need not be extracted are reported here.

#include "OutputFolder.h"
#include "UnzOptions.h"
#include "UnzReporter.h"
#include "zipcore/ZipReader.h"

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace unzdll {

enum class EntryKind {
    File,
    Folder,
    Link
};

struct PlannedEntry {
    const zipcore::ZipEntry* entry = nullptr;
    std::string name;   // as stored, UTF-8: what messages and callbacks show
    std::string target; // relative path of the output; empty when testing
    EntryKind kind = EntryKind::File;
    uint64_t dataOffset = 0;
    std::string password;
    unsigned mode = 0; // file mode to restore
    std::time_t modified = 0;
};

void reportFailure(UnzReporter& reporter, const std::string& name, BrxSkipKind kind, int32_t code,
                   const std::string& reason);

class EntryPlanner {
public:
    EntryPlanner(const UnzOptions& options, UnzReporter& reporter, OutputFolder& folder,
                 zipcore::ZipInput& input, const zipcore::ZipDirectory& directory);

    // Nothing when the entry was refused or skipped (already reported).
    std::optional<PlannedEntry> plan(const zipcore::ZipEntry& entry);
    // Called before an entry whose output path an earlier entry of this
    // command already has: it must put the earlier entries' files on disk,
    // so that the overwrite rules judge the repeat against a real file.
    void setWriteEarlierEntries(std::function<void()> writeEarlier) {
        m_writeEarlier = std::move(writeEarlier);
    }

private:
    bool checkEntry(PlannedEntry& planned);
    bool placeOutput(PlannedEntry& planned);
    bool mayWrite(const PlannedEntry& planned);
    bool findPassword(PlannedEntry& planned);

    const UnzOptions& m_options;
    UnzReporter& m_reporter;
    OutputFolder& m_folder;
    zipcore::ZipInput& m_input;
    const zipcore::ZipDirectory& m_directory;
    std::function<void()> m_writeEarlier;
    std::unordered_set<std::string> m_targets; // output paths of the entries planned so far
    std::vector<std::string> m_passwords;      // known to open entries, most recent first
    bool m_userGaveUp = false;                 // an empty answer: do not ask again
};

// The entry's modification time: the exact Unix time of an extended
// timestamp field when there is one, else its DOS date and time.
std::time_t entryModifiedTime(const zipcore::ZipEntry& entry);

} // namespace unzdll
