#pragma once
// What the header in front of the archive tells the self-extractor: window
// caption, default folder, command line, message and the option bits.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace sfxcore {

enum class OverwriteMode {
    Confirm,
    Always,
    Never
};

struct SfxSettings {
    bool askCmdLine = false;
    bool askFiles = false;
    bool hideOverwriteBox = false;
    bool checkSize = true;
    bool autoRun = false;
    bool noSuccessMsg = false;
    OverwriteMode overwrite = OverwriteMode::Confirm;
    std::string caption;
    std::string defaultDir;
    std::string commandLine;
    std::string message; // always empty for the older MPU header
    bool olderHeader = false;
};

// Option bits of header byte 3.
inline constexpr uint8_t kBitAskCmdLine = 0x01;
inline constexpr uint8_t kBitAskFiles = 0x02;
inline constexpr uint8_t kBitHideOverwriteBox = 0x04;
inline constexpr uint8_t kBitOverwriteAlways = 0x08;
inline constexpr uint8_t kBitOverwriteNever = 0x10;
inline constexpr uint8_t kBitNoCheckSize = 0x20;
inline constexpr uint8_t kBitAutoRun = 0x40;
inline constexpr uint8_t kBitNoSuccessMsg = 0x80; // MPV only

// Reads an MPV or MPU header that starts at data[0]; nothing when the bytes
// are not such a header or it is cut short.
std::optional<SfxSettings> parseHeader(const unsigned char* data, size_t size);

// Finds the first header in the bytes that precede the archive (searched
// from their start, like the program that wrote it does) and parses it.
std::optional<SfxSettings> findHeader(const unsigned char* data, size_t size);

// Header strings are in the Windows ANSI code page 1252; the stub works in UTF-8.
std::string ansiToUtf8(const std::string& text);

} // namespace sfxcore
