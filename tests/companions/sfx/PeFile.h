#pragma once
// A small bounds-checked reader of PE32 files, enough to look at what the
// built stub carries: its imported DLLs and its resources. Every read goes
// through at(), which turns an out-of-range offset into a failure.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testpe {

class PeFile {
public:
    explicit PeFile(std::string bytes) : m_bytes(std::move(bytes)) { m_ok = parseHeaders(); }

    bool ok() const { return m_ok; }

    // Names of the imported DLLs, as written in the import table.
    std::vector<std::string> importedDlls() const {
        std::vector<std::string> names;
        auto table = offsetOf(m_importRva);
        for (int i = 0; table && m_importRva && i < 256; ++i, *table += 20) {
            const auto nameRva = u32(*table + 12);
            if (!nameRva || *nameRva == 0) break;
            const auto name = offsetOf(*nameRva);
            if (!name) return {};
            names.push_back(cString(*name));
        }
        return names;
    }

    // The data of the first language of resource type/id, when present.
    std::optional<std::string> resource(uint32_t type, uint32_t id) const {
        const auto root = offsetOf(m_resourceRva);
        if (!root || !m_resourceRva) return std::nullopt;
        auto typeDir = child(*root, *root, type);
        auto idDir = typeDir ? child(*root, *typeDir, id) : std::nullopt;
        auto dataEntry = idDir ? child(*root, *idDir, std::nullopt) : std::nullopt;
        if (!dataEntry) return std::nullopt;
        const auto rva = u32(*dataEntry), size = u32(*dataEntry + 4);
        const auto offset = rva ? offsetOf(*rva) : std::nullopt;
        if (!offset || !size || *size > m_bytes.size() || *offset > m_bytes.size() - *size)
            return std::nullopt;
        return m_bytes.substr(*offset, *size);
    }

private:
    static constexpr uint32_t kSubdirectory = 0x80000000u;

    std::optional<uint32_t> u16(uint64_t at) const {
        if (at + 2 > m_bytes.size()) return std::nullopt;
        return uint32_t(uint8_t(m_bytes[at])) | uint32_t(uint8_t(m_bytes[at + 1])) << 8;
    }
    std::optional<uint32_t> u32(uint64_t at) const {
        const auto low = u16(at), high = u16(at + 2);
        if (!low || !high) return std::nullopt;
        return *low | *high << 16;
    }
    std::string cString(uint64_t at) const {
        const size_t end = m_bytes.find('\0', at);
        return end == std::string::npos ? std::string() : m_bytes.substr(at, end - at);
    }

    bool parseHeaders() {
        const auto pe = u32(0x3c);
        if (m_bytes.compare(0, 2, "MZ") != 0 || !pe || u32(*pe) != 0x00004550u) return false;
        const auto sections = u16(*pe + 6), optionalSize = u16(*pe + 20);
        const uint64_t optional = uint64_t(*pe) + 24;
        if (!sections || !optionalSize || u16(optional) != 0x10bu) return false; // PE32
        const auto importRva = u32(optional + 104), resourceRva = u32(optional + 112);
        if (!importRva || !resourceRva) return false;
        m_importRva = *importRva;
        m_resourceRva = *resourceRva;
        for (uint32_t i = 0; i < *sections; ++i) {
            const uint64_t s = optional + *optionalSize + uint64_t(i) * 40;
            const auto vsize = u32(s + 8), va = u32(s + 12), raw = u32(s + 16), ptr = u32(s + 20);
            if (!vsize || !va || !raw || !ptr) return false;
            m_sections.push_back({*va, std::max(*vsize, *raw), *ptr});
        }
        return true;
    }

    std::optional<uint64_t> offsetOf(uint32_t rva) const {
        for (const Section& s : m_sections)
            if (rva >= s.va && rva - s.va < s.size) return uint64_t(s.raw) + (rva - s.va);
        return std::nullopt;
    }

    // The entry of directory dir (an offset) with the numeric id, or its
    // first entry when id is empty; returns the offset it points to.
    std::optional<uint64_t> child(uint64_t root, uint64_t dir, std::optional<uint32_t> id) const {
        const auto named = u16(dir + 12), ids = u16(dir + 14);
        if (!named || !ids) return std::nullopt;
        for (uint32_t i = 0; i < *named + *ids; ++i) {
            const uint64_t entry = dir + 16 + uint64_t(i) * 8;
            const auto name = u32(entry), target = u32(entry + 4);
            if (!name || !target) return std::nullopt;
            if (id && (*name & kSubdirectory || *name != *id)) continue;
            return root + (*target & ~kSubdirectory);
        }
        return std::nullopt;
    }

    struct Section {
        uint32_t va, size, raw;
    };
    std::string m_bytes;
    std::vector<Section> m_sections;
    uint32_t m_importRva = 0, m_resourceRva = 0;
    bool m_ok = false;
};

// The value of a string of a version block, found by its key (UTF-16 in the
// block; keys and values here are ASCII). Values start on a 4-byte boundary.
inline std::optional<std::string> versionString(const std::string& block, const std::string& key) {
    std::string wideKey;
    for (char c : key + '\0') wideKey += std::string{c, '\0'};
    const size_t at = block.find(wideKey);
    if (at == std::string::npos) return std::nullopt;
    size_t value = (at + wideKey.size() + 3) / 4 * 4;
    std::string text;
    for (; value + 1 < block.size() && (block[value] || block[value + 1]); value += 2)
        text.push_back(block[value]);
    return text;
}

} // namespace testpe
