#include "zipdll/SourceCollector.h"

#include "zipdll/StoredNames.h"
#include "zipdll/Wildcard.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace zipdll {

namespace {

std::vector<std::string> listFolder(const std::string& folder, int& error) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        error = errno;
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    error = 0;
    return names;
}

std::string joinPath(const std::string& folder, std::string_view name) {
    if (folder.empty() || folder == ".") return std::string(name);
    return folder.back() == '/' ? folder + std::string(name) : folder + "/" + std::string(name);
}

} // namespace

SourceCollector::SourceCollector(CollectOptions options, CallbackReporter& reporter)
    : m_options(std::move(options))
    , m_reporter(reporter) {}

void SourceCollector::addSpec(const std::string& spec) {
    std::string path = spec;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const size_t slash = path.rfind('/');
    std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t found = 0;
    struct stat info {};
    if (hasWildcard(last)) {
        found =
            scanFolder(folder, storedFolderPrefix(slash == std::string::npos ? "" : folder), last);
    } else if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        const std::string prefix = storedFolderPrefix(path);
        found = m_options.recurse ? addFolderEntry(path, prefix, info) : 0;
        found += scanFolder(path, prefix, "*.*");
    } else if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        const std::string prefix = storedFolderPrefix(slash == std::string::npos ? "" : folder);
        found = addItem(SourceItem{path, storedFor(prefix, last), false, info}) ? 1 : 0;
        found = std::max<size_t>(found, m_storedNames.count(storedFor(prefix, last)));
    }
    if (found == 0) m_reporter.message(BRX_MSG_FILE_NOT_FOUND, "File not found:" + spec);
}

size_t SourceCollector::scanFolder(const std::string& folder, const std::string& storedPrefix,
                                   const std::string& pattern) {
    int error = 0;
    const std::vector<std::string> names = listFolder(folder, error);
    if (error == ENOENT || error == ENOTDIR) return 0; // reported as a pattern that names nothing
    if (error != 0) {
        m_reporter.message(BRX_MSG_READ_FAILED,
                           "Cannot read folder " + folder + ": " + std::strerror(error));
        return 0;
    }
    size_t found = 0;
    for (const std::string& name : names) {
        keepCallerResponsive();
        if (isHidden(name)) continue;
        const std::string path = joinPath(folder, name);
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            m_reporter.message(BRX_MSG_READ_FAILED,
                               "Cannot read " + path + ": " + std::strerror(errno));
            continue;
        }
        const std::string stored = storedFor(storedPrefix, name);
        if (S_ISDIR(info.st_mode)) {
            if (m_options.recurse && !isExcluded(stored + "/", name)) {
                found += addFolderEntry(path, storedPrefix + name + "/", info);
                found += scanFolder(path, storedPrefix + name + "/", pattern);
            }
        } else if (S_ISREG(info.st_mode) && matchWildcard(pattern, name) &&
                   !isExcluded(stored, name)) {
            found += addItem(SourceItem{path, stored, false, info}) ? 1 : 0;
        }
    }
    return found;
}

void SourceCollector::keepCallerResponsive() {
    constexpr auto kPace = std::chrono::milliseconds(30);
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastHeard < kPace) return;
    m_lastHeard = now;
    m_reporter.progress(0);
}

size_t SourceCollector::addFolderEntry(const std::string& path, const std::string& storedPrefix,
                                       const struct stat& info) {
    // A folder reached twice (a link back up) is not scanned again.
    if (!m_visitedFolders.insert({info.st_dev, info.st_ino}).second) return 0;
    if (!m_options.dirEntries || m_options.namesOnly || storedPrefix.empty()) return 0;
    const std::string stored = m_options.forceDos ? dosStoredName(storedPrefix) : storedPrefix;
    return addItem(SourceItem{path, stored, true, info}) ? 1 : 0;
}

bool SourceCollector::addItem(SourceItem item) {
    if (!m_storedNames.insert(item.storedName).second) {
        const bool sameFile =
            std::any_of(m_items.begin(), m_items.end(), [&](const SourceItem& other) {
                return other.storedName == item.storedName &&
                       other.info.st_dev == item.info.st_dev &&
                       other.info.st_ino == item.info.st_ino;
            });
        if (!sameFile)
            m_reporter.message(BRX_MSG_INFO, "Duplicate name, second file skipped: " + item.path);
        return false;
    }
    m_items.push_back(std::move(item));
    return true;
}

bool SourceCollector::isExcluded(const std::string& storedName, std::string_view name) const {
    return std::any_of(
        m_options.excludes.begin(), m_options.excludes.end(), [&](const std::string& pattern) {
            if (pattern.find('/') == std::string::npos) return matchWildcard(pattern, name);
            std::string trimmed = storedName;
            if (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
            return matchWildcard(pattern, trimmed) || matchWildcard(pattern, storedName);
        });
}

bool SourceCollector::isHidden(std::string_view name) const {
    return !m_options.hiddenFiles && !name.empty() && name.front() == '.';
}

std::string SourceCollector::storedFor(const std::string& prefix, std::string_view name) const {
    const std::string full = m_options.namesOnly ? std::string(name) : prefix + std::string(name);
    return m_options.forceDos ? dosStoredName(full) : full;
}

} // namespace zipdll
