#include "SafePath.h"

#include "FileSystem.h"
#include "zipcore/SafePath.h"

#include <cctype>

namespace sfxcore {

namespace {

bool isReservedPart(std::string part) {
    // Windows ignores what follows the first dot and trailing blanks.
    part = part.substr(0, part.find('.'));
    while (!part.empty() && part.back() == ' ') part.pop_back();
    for (char& c : part) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (part == "CON" || part == "PRN" || part == "AUX" || part == "NUL") return true;
    return part.size() == 4 && (part.compare(0, 3, "COM") == 0 || part.compare(0, 3, "LPT") == 0) &&
           part[3] >= '1' && part[3] <= '9';
}

} // namespace

bool hasReservedWindowsName(const std::string& relativePath) {
    size_t start = 0;
    while (start <= relativePath.size()) {
        const size_t end = relativePath.find_first_of("/\\", start);
        const size_t stop = end == std::string::npos ? relativePath.size() : end;
        if (isReservedPart(relativePath.substr(start, stop - start))) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

std::string withSeparator(const std::string& folder) {
    if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) return folder;
    return folder + kSeparator;
}

std::optional<std::string> safeTargetPath(const std::string& folder, const std::string& entryName) {
    const zipcore::SafeName safe = zipcore::confineEntryName(entryName, true);
    if (!safe.ok || safe.path.empty()) return std::nullopt;
    std::string relative = safe.path;
    for (char& c : relative) {
        if (static_cast<unsigned char>(c) < 0x20 || c == ':') return std::nullopt;
        if (c == '/') c = kSeparator;
    }
    return withSeparator(folder) + relative;
}

} // namespace sfxcore
