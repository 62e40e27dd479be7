#pragma once
// The name of an entry as UTF-8. Names flagged UTF-8 (bit 11) or carrying a
// Unicode path extra field are taken as such; otherwise names that are valid
// UTF-8 are kept, and the rest are read as the DOS code page 850.

#include "zipcore/ZipReader.h"

#include <string>
#include <string_view>

namespace zipcore {

std::string entryNameUtf8(const ZipEntry& entry);
std::string cp850ToUtf8(std::string_view text);
bool isValidUtf8(std::string_view text);

} // namespace zipcore
