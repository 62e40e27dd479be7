#pragma once
// Small ZIP archives for the self-extractor tests, made by the shared test
// archive builder: stored or deflated entries, optional traditional
// encryption, an archive comment, and offsets counted from a chosen base
// (as if a prefix came first).

#include "ZipBuilder.h" // tests/archives

#include <cstdint>
#include <string>
#include <vector>

namespace testzip {

struct Item {
    std::string name;
    std::string data;
    bool deflate = false;
    std::string password; // empty: not encrypted
};

inline std::string build(const std::vector<Item>& items, const std::string& comment = {},
                         uint32_t base = 0) {
    std::vector<ziptest::BuildEntry> entries;
    for (const Item& item : items)
        entries.push_back({.name = item.name,
                           .data = item.data,
                           .method = uint16_t(item.deflate ? 8 : 0),
                           .password = item.password,
                           .host = 0,
                           .dosDate = 0x5A21}); // 2025-01-01
    const std::string withPrefix =
        ziptest::buildZip(entries, {.prefix = std::string(base, '\0'), .comment = comment});
    return withPrefix.substr(base);
}

} // namespace testzip
