#pragma once
// Turns one entry's stored bytes back into the file: decryption, stored or
// deflated data, CRC check. Output never exceeds the declared size, and
// input is never read beyond the declared compressed size.

#include "zipcore/Inflate.h"
#include "zipcore/ZipInput.h"
#include "zipcore/ZipReader.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zipcore {

enum class DecodeStatus {
    Ok,
    CrcMismatch,
    WrongPassword,
    DataError,
    Truncated,
    TooLarge,
    Unsupported,
    Cancelled
};

struct DecodeResult {
    DecodeStatus status = DecodeStatus::Ok;
    uint32_t crc = 0; // of the bytes produced
    uint64_t produced = 0;
    std::string message; // why, when not Ok
};

// Gets each decoded block in order; returns false to stop.
using OutputSink = std::function<bool(const unsigned char* data, size_t size)>;

// Why the entry cannot be decoded by this program; empty when it can.
std::string unsupportedReason(const ZipEntry& entry);

// Whether password opens the entry (its 12-byte encryption header checks).
bool passwordMatches(ZipInput& input, uint64_t dataOffset, const ZipEntry& entry,
                     std::string_view password);

// Deflate cannot expand beyond about 1032:1; a declared size above that is a lie.
bool declaredSizeIsPlausible(const ZipEntry& entry);

class EntryDecoder {
public:
    explicit EntryDecoder(size_t bufferSize = size_t{1} << 20);

    DecodeResult decode(ZipInput& input, uint64_t dataOffset, const ZipEntry& entry,
                        std::string_view password, const OutputSink& sink);

private:
    struct Source;
    DecodeResult copyStored(Source& source, const ZipEntry& entry, const OutputSink& sink);
    DecodeResult inflateData(Source& source, const ZipEntry& entry, const OutputSink& sink);

    std::vector<unsigned char> m_in;
    std::vector<unsigned char> m_out;
    Inflater m_inflater;
};

} // namespace zipcore
