#pragma once
// The part Add and Delete share: write the jobs into a temporary archive
// and put it in place of the target.

#include "zipdll/ArchiveBuilder.h"
#include "zipdll/ZipCommand.h"

#include <sys/stat.h>

namespace zipdll {

struct OutputRequest {
    const ZipCommand* command = nullptr;
    ExistingArchive* existing = nullptr; // null for a new archive
    std::string comment;
    bool checkBeforeCommit = false; // read the new entries back first
};

BuildOutcome writeArchive(const OutputRequest& request, const std::vector<OutputJob>& jobs,
                          CallbackReporter& reporter);

// Permissions of a new archive: what the process's umask allows.
mode_t newFileMode();

} // namespace zipdll
