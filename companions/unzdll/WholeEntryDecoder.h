#pragma once
// Decodes an entry that fits in memory in one go: one read, then
// libdeflate's whole-buffer decompressor, about twice as fast as streaming
// inflate. The output buffer has exactly the declared size, so lying data
// cannot write past it. Safe to run on any thread.

#include "zipcore/EntryDecoder.h"

#include <vector>

namespace unzdll {

zipcore::DecodeResult decodeWhole(zipcore::ZipInput& input, uint64_t dataOffset, const zipcore::ZipEntry& entry,
                                  const std::string& password, std::vector<unsigned char>& output);

} // namespace unzdll
