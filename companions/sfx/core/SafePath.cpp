#include "SafePath.h"

#include "FileSystem.h"
#include "zipcore/SafePath.h"

namespace sfxcore {

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
