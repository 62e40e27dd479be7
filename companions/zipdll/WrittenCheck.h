#pragma once
// Reads back the entries just written and checks their CRC, so that the
// files of a move are only deleted once the archive holds them intact.

#include "zipcore/ZipRecordWriter.h"

#include <string>
#include <vector>

namespace zipdll {

// Empty when every entry checks out, else what is wrong.
std::string checkWrittenEntries(const std::string& archivePath,
                                const std::vector<zipcore::WrittenEntry>& entries,
                                const std::string& password);

} // namespace zipdll
