#include "zipdll/StoredNames.h"

#include <cctype>
#include <vector>

namespace zipdll {

namespace {

std::vector<std::string> splitParts(std::string_view path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string dosPart(std::string_view part) {
    const size_t dot = part.rfind('.');
    std::string_view base = dot == std::string_view::npos || dot == 0 ? part : part.substr(0, dot);
    std::string_view ext =
        dot == std::string_view::npos || dot == 0 ? std::string_view() : part.substr(dot + 1);
    auto clean = [](std::string_view text, size_t limit) {
        std::string out;
        for (char c : text) {
            if (out.size() == limit) break;
            const unsigned char u = static_cast<unsigned char>(c);
            const bool allowed = std::isalnum(u) || std::string_view("!#$%&'()-@^_`{}~").find(c) !=
                                                        std::string_view::npos;
            out.push_back(u < 128 && allowed ? static_cast<char>(std::toupper(u)) : '_');
        }
        return out;
    };
    std::string out = clean(base, 8);
    if (out.empty()) out = "_";
    if (!ext.empty()) out += "." + clean(ext, 3);
    return out;
}

} // namespace

std::string storedFolderPrefix(std::string_view folder) {
    std::vector<std::string> kept;
    for (const std::string& part : splitParts(folder)) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(part);
    }
    std::string prefix;
    for (const std::string& part : kept) prefix += part + "/";
    return prefix;
}

std::string dosStoredName(std::string_view name) {
    const bool isFolder = !name.empty() && name.back() == '/';
    std::string out;
    for (const std::string& part : splitParts(isFolder ? name.substr(0, name.size() - 1) : name)) {
        if (!out.empty()) out += "/";
        out += dosPart(part);
    }
    return isFolder ? out + "/" : out;
}

std::string_view baseName(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool isPureAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

} // namespace zipdll
