#pragma once
// A byte vector whose growth leaves new bytes uninitialised: every byte is
// written by a read, a compressor or a decompressor right after, and
// zeroing hundreds of megabytes first would cost as much as a CRC pass.

#include <memory>
#include <utility>
#include <vector>

namespace zipcore {

template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using ByteBuffer = std::vector<unsigned char, UninitialisedAllocator<unsigned char>>;

} // namespace zipcore
