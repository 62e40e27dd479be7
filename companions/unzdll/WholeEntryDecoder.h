#pragma once
// Decodes an entry that fits in memory in one go: libdeflate's
// whole-buffer decompressor is about twice as fast as streaming inflate. The output buffer has
// exactly the declared size, so lying data cannot write past it. Safe on any thread.

#include "zipcore/ByteBuffer.h"
#include "zipcore/EntryDecoder.h"

#include <memory>
#include <vector>

struct libdeflate_decompressor;

namespace unzdll {

using Bytes = zipcore::ByteBuffer;

struct DecodedEntry {
    zipcore::DecodeResult result;
    Bytes storage;
    const unsigned char* data =
        nullptr; // the file's bytes, in storage (after an encryption header if stored)
    size_t size = 0;
};

// Decoding threads keep one decompressor each (its tables are zeroed on
// allocation, which costs more than decoding a small file). It belongs to
// the thread's owner, not to a thread-local: that would pin this library in
// memory after the engine unloads it.
struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* decompressor) const;
};
using Decompressor = std::unique_ptr<libdeflate_decompressor, DecompressorDeleter>;
Decompressor makeDecompressor(); // throws std::bad_alloc

// decompressor: the calling thread's own, or null for a temporary one.
// readBuffer: the calling thread's buffer for compressed bytes, kept between
// entries (a stored entry takes it over); null for a temporary one.
void decodeWhole(zipcore::ZipInput& input, uint64_t dataOffset, const zipcore::ZipEntry& entry,
                 const std::string& password, DecodedEntry& out,
                 libdeflate_decompressor* decompressor = nullptr, Bytes* readBuffer = nullptr);

} // namespace unzdll
