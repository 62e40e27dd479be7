#include "zipcore/Crc32.h"

#if defined(BRX_HAVE_LIBDEFLATE)
#include <libdeflate.h>
#else
#include <climits>
#include <zlib.h>
#endif

namespace zipcore {

uint32_t crc32Update(uint32_t crc, const void* data, size_t size) {
#if defined(BRX_HAVE_LIBDEFLATE)
    return libdeflate_crc32(crc, data, size);
#else
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const uInt chunk = size > UINT_MAX ? UINT_MAX : static_cast<uInt>(size);
        crc = static_cast<uint32_t>(::crc32(crc, p, chunk));
        p += chunk;
        size -= chunk;
    }
    return crc;
#endif
}

} // namespace zipcore
