#include "zipcore/SafePath.h"

#include <vector>

namespace zipcore {

namespace {

constexpr size_t kMaxPartLength = 255;

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

std::vector<std::string_view> splitParts(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || isSeparator(text[i])) {
            if (i > start) parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

bool hasDriveLetter(std::string_view text) {
    if (text.size() < 2 || text[1] != ':') return false;
    const char c = text[0];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

SafeName refuse(std::string reason) {
    SafeName name;
    name.reason = std::move(reason);
    return name;
}

} // namespace

SafeName confineEntryName(std::string_view utf8Name, bool keepPaths) {
    if (utf8Name.empty()) return refuse("empty name");
    if (utf8Name.find('\0') != std::string_view::npos)
        return refuse("the name contains a NUL character");
    if (isSeparator(utf8Name.front())) return refuse("absolute path");
    if (hasDriveLetter(utf8Name)) return refuse("the name starts with a drive letter");
    std::vector<std::string> kept;
    for (const std::string_view part : splitParts(utf8Name)) {
        if (part == "..") return refuse("the name climbs out of the folder with \"..\"");
        if (part.size() > kMaxPartLength) return refuse("a part of the name is too long");
        if (part != ".") kept.emplace_back(part);
    }
    SafeName name;
    name.ok = true;
    name.isDirectory = isSeparator(utf8Name.back());
    if (!keepPaths && name.isDirectory)
        kept.clear(); // without paths a folder entry has nothing to create
    else if (!keepPaths && !kept.empty())
        kept.erase(kept.begin(), kept.end() - 1);
    for (const std::string& part : kept) name.path += (name.path.empty() ? "" : "/") + part;
    return name;
}

bool linkStaysInside(std::string_view linkPath, std::string_view target) {
    if (target.empty() || isSeparator(target.front()) || hasDriveLetter(target)) return false;
    std::vector<std::string_view> where = splitParts(linkPath);
    if (!where.empty()) where.pop_back(); // a link resolves from the folder that holds it
    // ".." only as a leading run: after a named part it would climb out of
    // whatever that part resolves to, which text alone cannot know.
    bool descending = false;
    for (const std::string_view part : splitParts(target)) {
        if (part == "..") {
            if (where.empty() || descending) return false;
            where.pop_back();
        } else if (part != ".") {
            descending = true;
        }
    }
    return true;
}

} // namespace zipcore
