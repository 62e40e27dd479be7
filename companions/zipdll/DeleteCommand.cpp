#include "zipdll/ArchiveCommands.h"

#include "zipdll/ArchiveOutput.h"
#include "zipdll/CommandError.h"
#include "zipdll/Wildcard.h"

#include <cerrno>
#include <cstring>

namespace zipdll {

namespace {

bool entryMatches(const std::string& spec, const std::string& name) {
    if (matchWildcard(spec, name)) return true;
    // A folder entry is also named without its trailing "/".
    return name.size() > 1 && name.back() == '/' &&
           matchWildcard(spec, name.substr(0, name.size() - 1));
}

} // namespace

int32_t runDelete(const ZipCommand& command, CallbackReporter& reporter) {
    ExistingArchive existing;
    if (!existing.open(command.archivePath))
        throw CommandError{BRX_MSG_ARCHIVE_UNREADABLE,
                           "Cannot delete from " + command.archivePath + ": " + existing.error()};
    const std::vector<KeptEntry>& entries = existing.entries();
    std::vector<char> doomed(entries.size(), 0);
    for (const std::string& spec : command.specs) {
        bool matched = false;
        for (size_t i = 0; i < entries.size(); ++i)
            if (entryMatches(spec, entries[i].entry.name)) doomed[i] = matched = true;
        if (!matched)
            reporter.message(BRX_MSG_ENTRY_NOT_FOUND, "Entry not found in the archive: " + spec);
    }
    std::vector<OutputJob> jobs;
    uint64_t keptBytes = 0;
    size_t deleted = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (doomed[i]) {
            ++deleted;
            continue;
        }
        jobs.push_back(OutputJob{OutputJob::Kind::Keep, i, nullptr, false});
        keptBytes += entries[i].end - entries[i].start;
    }
    if (deleted == 0) {
        reporter.message(BRX_MSG_NOTHING_TO_DO, "Nothing to do: archive not created");
        return 0;
    }
    reporter.totalFiles(deleted);
    reporter.totalSize(keptBytes);
    for (size_t i = 0; i < entries.size(); ++i)
        if (doomed[i]) reporter.itemStart(entries[i].entry.name, entries[i].entry.uncompressedSize);
    OutputRequest request{&command, &existing,
                          command.hasComment ? command.comment : existing.comment(), false};
    writeArchive(request, jobs, reporter);
    return static_cast<int32_t>(deleted);
}

} // namespace zipdll
