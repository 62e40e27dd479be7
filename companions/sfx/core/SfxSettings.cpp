#include "SfxSettings.h"

#include <cstring>

namespace sfxcore {
namespace {

void applyOptionBits(SfxSettings& s, uint8_t bits, bool newer) {
    s.askCmdLine = bits & kBitAskCmdLine;
    s.askFiles = bits & kBitAskFiles;
    s.hideOverwriteBox = bits & kBitHideOverwriteBox;
    s.checkSize = !(bits & kBitNoCheckSize);
    s.autoRun = bits & kBitAutoRun;
    s.noSuccessMsg = newer && (bits & kBitNoSuccessMsg);
    if (bits & kBitOverwriteAlways)
        s.overwrite = OverwriteMode::Always;
    else if (bits & kBitOverwriteNever)
        s.overwrite = OverwriteMode::Never;
}

// Reads one length-prefixed string; false when it runs past the end.
bool takeCounted(const unsigned char* data, size_t size, size_t& pos, std::string& out) {
    if (pos >= size || data[pos] > size - pos - 1) return false;
    const size_t length = data[pos];
    out = ansiToUtf8(std::string(reinterpret_cast<const char*>(data + pos + 1), length));
    pos += 1 + length;
    return true;
}

std::optional<SfxSettings> parseNewer(const unsigned char* data, size_t size) {
    SfxSettings s;
    applyOptionBits(s, data[3], true);
    size_t pos = 8;
    if (size < pos || !takeCounted(data, size, pos, s.caption) ||
        !takeCounted(data, size, pos, s.defaultDir) ||
        !takeCounted(data, size, pos, s.commandLine) || !takeCounted(data, size, pos, s.message))
        return std::nullopt;
    return s;
}

// MPU: byte 4..6 hold the three lengths, the strings follow from byte 7.
std::optional<SfxSettings> parseOlder(const unsigned char* data, size_t size) {
    if (size < 7 || size - 7 < size_t(data[4]) + data[5] + data[6]) return std::nullopt;
    SfxSettings s;
    s.olderHeader = true;
    applyOptionBits(s, data[3], false);
    const char* text = reinterpret_cast<const char*>(data + 7);
    s.caption = ansiToUtf8(std::string(text, data[4]));
    s.defaultDir = ansiToUtf8(std::string(text + data[4], data[5]));
    s.commandLine = ansiToUtf8(std::string(text + data[4] + data[5], data[6]));
    return s;
}

} // namespace

std::optional<SfxSettings> parseHeader(const unsigned char* data, size_t size) {
    if (size < 4 || data[0] != 'M' || data[1] != 'P') return std::nullopt;
    if (data[2] == 'V') return parseNewer(data, size);
    if (data[2] == 'U') return parseOlder(data, size);
    return std::nullopt;
}

std::optional<SfxSettings> findHeader(const unsigned char* data, size_t size) {
    for (size_t i = 0; i + 3 <= size; ++i) {
        if (data[i] == 'M' && data[i + 1] == 'P' && (data[i + 2] == 'U' || data[i + 2] == 'V'))
            return parseHeader(data + i, size - i);
    }
    return std::nullopt;
}

std::string ansiToUtf8(const std::string& text) {
    // Code page 1252 differs from Latin-1 only in 0x80-0x9F.
    static const uint16_t kHigh[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    std::string out;
    for (unsigned char c : text) {
        const uint32_t code = (c >= 0x80 && c < 0xA0) ? kHigh[c - 0x80] : c;
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

} // namespace sfxcore
