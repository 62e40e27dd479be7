#pragma once
// Decodes an entry that fits in memory in one go, straight from the mapped
// archive when it can: libdeflate's whole-buffer decompressor is about
// twice as fast as streaming inflate. The output buffer has exactly the
// declared size, so lying data cannot write past it. Safe on any thread.

#include "zipcore/EntryDecoder.h"

#include <memory>
#include <vector>

struct libdeflate_decompressor;

namespace unzdll {

// Leaves new bytes uninitialised: every byte is written by the read or the
// decompressor right after, and zeroing hundreds of megabytes first would
// cost as much as a CRC pass.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    template <class U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using Bytes = std::vector<unsigned char, UninitialisedAllocator<unsigned char>>;

struct DecodedEntry {
    zipcore::DecodeResult result;
    Bytes storage;
    const unsigned char* data = nullptr; // the file's bytes: in storage, or in the mapped archive
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
void decodeWhole(zipcore::ZipInput& input, uint64_t dataOffset, const zipcore::ZipEntry& entry,
                 const std::string& password, DecodedEntry& out, libdeflate_decompressor* decompressor = nullptr);

} // namespace unzdll
