#pragma once
// CRC-32 (ZIP polynomial). libdeflate's folding CRC where available (memory
// speed), zlib's elsewhere (the MinGW build of the self-extractor).

#include <cstddef>
#include <cstdint>

namespace zipcore {

// Continues crc over data; start with 0.
uint32_t crc32Update(uint32_t crc, const void* data, size_t size);

} // namespace zipcore
