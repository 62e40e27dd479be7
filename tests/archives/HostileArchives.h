#pragma once
// One table of odd and hostile archives that every reader of the program is
// run against: the format layer, the engine's directory reader, both
// libraries, the self-extractor conversions, the volume copier and the stub.
// Each case says what every reader must agree on, so that a reader that
// disagrees with the others fails.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace ziptest {

struct HostileArchive {
    std::string id;    // for failure messages
    std::string bytes; // the archive file
    // False: every reader refuses the archive as a whole, with a message.
    bool readable = true;
    // The entry names every listing shows (UTF-8, "/" separated), in
    // archive order; for the very large case only listedCount is given.
    std::vector<std::string> listed;
    size_t listedCount = 0;
    // What an extraction of everything writes: relative path -> content.
    // Entries missing here are refused one by one, never at the cost of
    // the others.
    std::map<std::string, std::string> extracted;
    bool hasPrefix = false; // bytes in front of the archive (a stub)
};

const std::vector<HostileArchive>& hostileArchives();

} // namespace ziptest
