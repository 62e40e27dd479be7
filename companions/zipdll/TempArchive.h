#pragma once
// The new archive is written under a temporary name beside the target (or
// in the chosen temporary folder) and only replaces the target once it is
// complete. Until then the target is never touched; a temporary file that
// is not committed is removed.

#include "zipcore/FileHandle.h"

#include <string>
#include <sys/types.h>
#include <utility>

namespace zipdll {

class TempArchive {
public:
    // Throws CommandError when no temporary file can be created.
    TempArchive(const std::string& targetPath, const std::string& tempDir);
    ~TempArchive();
    TempArchive(const TempArchive&) = delete;
    TempArchive& operator=(const TempArchive&) = delete;

    const std::string& path() const { return m_path; }
    // The open file; the caller owns it from now on.
    zipcore::FileHandle takeFile() { return std::move(m_file); }
    // Moves the finished file over the target with the given permissions.
    // Throws CommandError.
    void commit(const std::string& targetPath, mode_t mode);

private:
    void copyInto(const std::string& targetPath, mode_t mode);

    std::string m_path;
    zipcore::FileHandle m_file;
    bool m_committed = false;
};

} // namespace zipdll
