#pragma once
// How a file found on disk is named inside the archive.

#include <string>
#include <string_view>

namespace zipdll {

// A folder as the user gave it, turned into a safe stored prefix: no
// leading "/", no "." parts, ".." resolved where it can be and dropped where
// it would climb above the start. Empty or ending with "/".
std::string storedFolderPrefix(std::string_view folder);

// An 8.3 upper-case form of each part of a name, for DOS-only readers.
std::string dosStoredName(std::string_view name);

// The last part of a path.
std::string_view baseName(std::string_view path);

bool isPureAscii(std::string_view text);

} // namespace zipdll
