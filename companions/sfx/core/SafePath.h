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

// True when a part of the relative path is a device name that Windows
// reserves (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with any extension):
// writing "NUL.txt" there would write to the device, not to a file.
bool hasReservedWindowsName(const std::string& relativePath);

// Appends the platform's separator unless the path ends with one.
std::string withSeparator(const std::string& folder);

} // namespace sfxcore
