#include "SafePath.h"

#include "FileSystem.h"

#include <vector>

namespace sfxcore {
namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

std::vector<std::string> splitParts(const std::string& name)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : name) {
        if (isSeparator(c)) {
            parts.push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    parts.push_back(part);
    return parts;
}

bool isAcceptablePart(const std::string& part)
{
    if (part == "..")
        return false;
    for (unsigned char c : part) {
        if (c < 0x20 || c == ':')
            return false;
    }
    return true;
}

} // namespace

std::string withSeparator(const std::string& folder)
{
    if (!folder.empty() && isSeparator(folder.back()))
        return folder;
    return folder + kSeparator;
}

std::optional<std::string> safeTargetPath(const std::string& folder, const std::string& entryName)
{
    if (entryName.empty() || isSeparator(entryName.front()))
        return std::nullopt;
    std::string relative;
    for (const std::string& part : splitParts(entryName)) {
        if (!isAcceptablePart(part))
            return std::nullopt;
        if (part.empty() || part == ".")
            continue;
        if (!relative.empty())
            relative.push_back(kSeparator);
        relative += part;
    }
    if (relative.empty())
        return std::nullopt;
    return withSeparator(folder) + relative;
}

} // namespace sfxcore
