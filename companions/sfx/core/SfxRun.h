#pragma once
// The self-extractor from start to end: read the header and the archive
// from its own file, ask what the header says to ask, extract, run the
// command line, report.

#include "SfxArchive.h"
#include "SfxPlan.h"
#include "SfxUi.h"

#include <string>
#include <vector>

namespace sfxcore {

enum class RunResult {
    Extracted = 0,
    Cancelled = 1,
    Failed = 2
};

struct RunEnvironment {
    std::string exePath;    // the self-extractor's own file
    std::string exeName;    // its file name alone
    std::string exeFolder;  // its folder: a relative default folder starts there
    std::string tempFolder; // the user's temporary folder
};

struct FailedEntry {
    std::string name; // as shown to the user, with backslash separators
    std::string reason;
};

struct ExtractCounts {
    size_t written = 0;
    size_t skipped = 0;
    std::vector<FailedEntry> failures;
    bool cancelled = false; // a question or the progress window was cancelled

    size_t failed() const { return failures.size(); }
};

RunResult runSelfExtractor(const RunEnvironment& env, SfxUi& ui);

// Extracts every entry into folder (created when missing), following the
// overwrite mode; used by runSelfExtractor and by the tests.
ExtractCounts extractAll(SfxArchive& archive, const std::string& folder,
                         const SfxSettings& settings, const std::string& caption, SfxUi& ui);

// An entry name as Windows users write paths, with backslashes between folders.
std::string displayName(const std::string& entryName);

} // namespace sfxcore
