#pragma once
// Entry names as stored in archives: UTF-8 when flagged (bit 11), otherwise
// the DOS code page 850 that archivers of the time used.

#include <cstdint>
#include <string>

namespace sfxcore {

std::string entryNameToUtf8(const std::string& stored, uint16_t flags);

} // namespace sfxcore
