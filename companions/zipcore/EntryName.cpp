#include "zipcore/EntryName.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/Crc32.h"
#include "zipcore/ZipFormat.h"

namespace zipcore {

namespace {

constexpr uint16_t kExtraUnicodePath = 0x7075;

constexpr char16_t kCp850High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

void appendUtf8(std::string& out, char16_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Info-ZIP's Unicode path field: version 1, CRC-32 of the stored name, then
// the UTF-8 name. It only counts while the stored name is the one it was made for.
bool unicodePathExtra(const ZipEntry& entry, std::string& out) {
    ByteCursor cursor(reinterpret_cast<const unsigned char*>(entry.extra.data()),
                      entry.extra.size());
    while (cursor.remaining() >= 4) {
        const uint16_t id = cursor.u16();
        const uint16_t length = cursor.u16();
        const unsigned char* body = cursor.bytes(length);
        if (!cursor.ok()) return false;
        if (id != kExtraUnicodePath || length < 5 || body[0] != 1) continue;
        if (le32(body + 1) != crc32Update(0, entry.name.data(), entry.name.size())) return false;
        out.assign(reinterpret_cast<const char*>(body + 5), length - 5);
        return isValidUtf8(out);
    }
    return false;
}

} // namespace

bool isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80           ? 1
                              : (lead >> 5) == 0x6  ? 2
                              : (lead >> 4) == 0xE  ? 3
                              : (lead >> 3) == 0x1E ? 4
                                                    : 0;
        if (length == 0 || i + length > text.size() || (length == 2 && lead < 0xC2)) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

std::string cp850ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        appendUtf8(out, byte < 0x80 ? char16_t{byte} : kCp850High[byte - 0x80]);
    }
    return out;
}

std::string latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) appendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

bool isOemText(uint16_t versionMadeBy, CodePageMode mode) {
    const unsigned host = versionMadeBy >> 8;
    const unsigned version = versionMadeBy & 0xFF;
    return (mode == CodePageMode::Auto && host == kHostMsDos) || host == 6 ||
           (host == kHostNtfs && version == 50) || mode == CodePageMode::Oem;
}

std::string archiveTextUtf8(std::string_view bytes, bool utf8Flag, uint16_t versionMadeBy,
                            CodePageMode mode) {
    if (utf8Flag) return std::string(bytes);
    if (isOemText(versionMadeBy, mode)) return cp850ToUtf8(bytes);
    return isValidUtf8(bytes) ? std::string(bytes) : latin1ToUtf8(bytes);
}

std::string entryNameUtf8(const ZipEntry& entry, CodePageMode mode) {
    if (entry.isUtf8()) return entry.name;
    std::string fromExtra;
    if (unicodePathExtra(entry, fromExtra)) return fromExtra;
    return archiveTextUtf8(entry.name, false, entry.versionMadeBy, mode);
}

std::string entryCommentUtf8(const ZipEntry& entry, CodePageMode mode) {
    return archiveTextUtf8(entry.comment, entry.isUtf8(), entry.versionMadeBy, mode);
}

} // namespace zipcore
