#pragma once
// The compression command record turned into plain options.

#include "brx/ZipDllAbi.h"

#include <string>
#include <vector>

namespace zipdll {

struct ZipCommand {
    bool deleteEntries = false;
    std::string archivePath;
    std::string tempDir; // empty: the archive's own folder
    std::vector<std::string> specs;
    std::vector<std::string> excludes;
    std::vector<std::string> storeSuffixes; // lower case, with their dot
    std::string password;
    bool encrypt = false;
    bool hiddenFiles = false;
    bool dirEntries = false;
    bool namesOnly = false;
    bool recurse = false;
    bool forceDos = false;
    bool move = false;
    bool update = false;
    bool freshen = false;
    bool zipTime = false;
    bool verbose = false;
    bool hasComment = false;
    std::string comment;
    int level = 6;
};

// Empty text when the record is usable, else why not.
std::string validateRecord(const BrxZipCommandRecord* record);
ZipCommand readCommand(const BrxZipCommandRecord& record);

} // namespace zipdll
