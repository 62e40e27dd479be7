#pragma once
// Where an entry lands on disk: zipcore's name rules (no "..", no absolute
// names, no drive letters) joined to the extraction folder with the
// platform's separator.

#include <optional>
#include <string>

namespace sfxcore {

// folder + the entry's relative path; nothing when the name is refused or
// names no file or folder. Also refuses ":" (alternate data streams on
// Windows) and control characters.
std::optional<std::string> safeTargetPath(const std::string& folder, const std::string& entryName);

// Appends the platform's separator unless the path ends with one.
std::string withSeparator(const std::string& folder);

} // namespace sfxcore
