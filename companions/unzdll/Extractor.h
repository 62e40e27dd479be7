#pragma once
// One extract or test command. The caller's thread plans the entries in
// archive order, the workers decode those that fit in memory, and the
// caller's thread takes the results back in order to write the files and
// report, so every callback happens on it. Entries too large for memory
// are streamed on the caller's thread.

#include "EntryPlanner.h"
#include "OutputFolder.h"
#include "zipcore/FileInput.h"
#include "UnzOptions.h"
#include "UnzReporter.h"
#include "DecodeWorkers.h"
#include "WholeEntryDecoder.h"
#include "zipcore/EntryDecoder.h"

#include <deque>
#include <memory>

namespace unzdll {

class Extractor {
public:
    Extractor(const UnzOptions& options, UnzReporter& reporter);
    int32_t run(); // entries extracted or tested successfully

private:
    struct FolderToFinish {
        std::string path;
        unsigned mode;
        std::time_t modified;
    };

    bool openArchive();
    std::vector<const zipcore::ZipEntry*> selectEntries();
    void process(const zipcore::ZipEntry& entry);
    void makeFolder(const PlannedEntry& planned);
    void submit(PlannedEntry planned);
    void finishOldest();
    void drain();
    void finishInMemory(DecodeJob& job);
    void stream(const PlannedEntry& planned);
    void makeLink(const PlannedEntry& planned);
    bool acceptResult(const PlannedEntry& planned, const zipcore::DecodeResult& result);
    bool writeOut(const PlannedEntry& planned, const DecodedEntry& decoded);
    void reportProgressInSlices(uint64_t bytes);
    void finishFolders();

    const UnzOptions& m_options;
    UnzReporter& m_reporter;
    OutputFolder m_folder;
    std::unique_ptr<zipcore::FileInput> m_input;
    zipcore::ZipDirectory m_directory;
    std::unique_ptr<EntryPlanner> m_planner;
    std::deque<std::unique_ptr<DecodeJob>> m_pending;
    uint64_t m_pendingBytes = 0;
    std::unique_ptr<DecodeWorkers> m_workers; // after the jobs: joined before they are freed
    std::vector<FolderToFinish> m_folders;
    int32_t m_successes = 0;
};

} // namespace unzdll
