#pragma once
// Files and folders written under the current folder, the extraction
// folder. Paths come already confined to it (zipcore::confineEntryName);
// here the disk is checked too: nothing is written through a symbolic
// link, and a file replaces its predecessor only once it is complete.
// Caller's thread only.

#include "zipcore/FileHandle.h"

#include <ctime>
#include <string>
#include <unordered_set>

namespace unzdll {

struct ExistingTarget {
    bool exists = false;
    bool isDirectory = false;
    std::time_t modified = 0;
};

enum class WayStatus {
    Clear,
    ThroughLink,
    Blocked
};

class OutputFolder {
public:
    OutputFolder();

    // Whether the folders on the way to path (not path itself) are real
    // folders or missing; detail names the part in the way.
    WayStatus checkWay(const std::string& path, std::string& detail);
    // Creates path and its missing parents as folders.
    bool makeFolders(const std::string& path, std::string& error);
    ExistingTarget inspect(const std::string& path) const;
    bool setFolderAttributes(const std::string& path, unsigned mode, std::time_t modified);
    bool createLink(const std::string& path, const std::string& target, std::string& error);

    unsigned defaultFileMode() const { return 0666 & ~m_umask; }
    unsigned defaultFolderMode() const { return 0777 & ~m_umask; }
    unsigned umaskBits() const { return m_umask; }

private:
    std::unordered_set<std::string> m_knownFolders; // checked or made by this command
    unsigned m_umask = 022;
};

// A file being written: a hidden temporary name beside its final path
// until commit() renames it; dropped (deleted) otherwise.
class OutputFile {
public:
    explicit OutputFile(unsigned umaskBits) : m_umask(umaskBits) {}
    ~OutputFile() { abandon(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The file is made under a temporary name beside path, with its final
    // permission bits, and gets path only at commit.
    bool open(const std::string& path, unsigned mode, std::string& error);
    bool write(const unsigned char* data, size_t size, std::string& error);
    bool commit(std::time_t modified, std::string& error);
    void abandon();

private:
    const unsigned m_umask;
    zipcore::FileHandle m_file;
    unsigned m_mode = 0;
    std::string m_tempPath;
    std::string m_finalPath;
};

std::string systemErrorText(int error);

} // namespace unzdll
