#pragma once
// Expands the file patterns of an Add into the files and folders to
// archive, with their names inside the archive: wildcards in the last part,
// recursion into subfolders, hidden names, exclusions, stored paths.

#include "zipdll/CallbackReporter.h"

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace zipdll {

struct SourceItem {
    std::string path;       // to open on disk
    std::string storedName; // inside the archive; folders end with "/"
    bool isFolder = false;
    struct stat info {};
};

struct CollectOptions {
    bool recurse = false;
    bool hiddenFiles = false;
    bool namesOnly = false;
    bool dirEntries = false;
    bool forceDos = false;
    std::vector<std::string> excludes;
};

class SourceCollector {
public:
    SourceCollector(CollectOptions options, CallbackReporter& reporter);

    // Adds what the pattern names; reports it when it names nothing.
    void addSpec(const std::string& spec);
    const std::vector<SourceItem>& items() const { return m_items; }

private:
    size_t scanFolder(const std::string& folder, const std::string& storedPrefix,
                      const std::string& pattern);
    size_t addFolderEntry(const std::string& path, const std::string& storedPrefix,
                          const struct stat& info);
    bool addItem(SourceItem item);
    bool isExcluded(const std::string& storedName, std::string_view name) const;
    bool isHidden(std::string_view name) const;
    std::string storedFor(const std::string& prefix, std::string_view name) const;

    // A long scan of folders makes no other callback: the caller hears from
    // us at this pace so that its window repaints and a cancel is taken.
    void keepCallerResponsive();

    CollectOptions m_options;
    CallbackReporter& m_reporter;
    std::vector<SourceItem> m_items;
    std::set<std::string> m_storedNames;
    std::set<std::pair<dev_t, ino_t>> m_visitedFolders;
    std::chrono::steady_clock::time_point m_lastHeard = std::chrono::steady_clock::now();
};

} // namespace zipdll
