#pragma once
// One extract or test command, read out of the engine's command record.

#include "brx/ZipDllAbi.h"

#include <string>
#include <vector>

namespace unzdll {

struct UnzOptions {
    std::string archive;
    std::vector<std::string> specs; // empty: every entry
    std::string password;
    bool test = false;
    bool update = false;
    bool freshen = false;
    bool dirNames = false;
    bool overwrite = false;
    int passwordRequests = 0; // how often a missing or wrong password may be asked for, per entry
};

// False when the record cannot be a command of this library.
bool readOptions(const BrxUnzCommandRecord& record, UnzOptions& options);

} // namespace unzdll
