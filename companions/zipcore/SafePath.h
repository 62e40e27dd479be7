#pragma once
// Where an entry may land: a relative path inside the extraction folder, or
// a refusal. Pure text rules, the same on every system the archives travel
// to: "\" counts as a separator, ".." parts, absolute names and drive
// letters are refused. The checks against the disk (links met on the way)
// belong to whoever writes the files.

#include <string>
#include <string_view>

namespace zipcore {

struct SafeName {
    bool ok = false;
    std::string
        path; // "/"-separated, no "." parts, no trailing "/"; may be empty for a bare folder
    bool isDirectory = false; // the name ended with a separator
    std::string reason;       // why it was refused
};

// keepPaths false keeps only the last part of the name.
SafeName confineEntryName(std::string_view utf8Name, bool keepPaths);

// Whether a link at linkPath (an accepted relative path) whose text is
// target would point to a place inside the extraction folder.
bool linkStaysInside(std::string_view linkPath, std::string_view target);

} // namespace zipcore
