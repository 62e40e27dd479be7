#pragma once
// Turns an entry name into a path inside the extraction folder, refusing
// every name that could land outside it.

#include <optional>
#include <string>

namespace sfxcore {

// folder + the entry's relative path with the platform's separator; nothing
// for absolute names, drive letters, ".." parts, ":" (alternate data streams)
// and control characters.
std::optional<std::string> safeTargetPath(const std::string& folder, const std::string& entryName);

// Appends the platform's separator unless the path ends with one.
std::string withSeparator(const std::string& folder);

} // namespace sfxcore
