#pragma once
// Deflate for the archive writer: whole buffers with libdeflate (the fast
// path for most files) and a zlib stream for files too large to hold in
// memory. Both only ever produce raw deflate data.

#include "zipcore/ByteBuffer.h"

#include <cstddef>
#include <vector>

struct libdeflate_compressor;
struct z_stream_s;

namespace zipcore {

// The libdeflate level used for an archive level 1-9 (zlib's scale).
int libdeflateLevelFor(int zlibLevel);

// One per thread: libdeflate compressors are not shared.
class WholeDeflater {
public:
    explicit WholeDeflater(int level); // archive level 1-9
    ~WholeDeflater();
    WholeDeflater(const WholeDeflater&) = delete;
    WholeDeflater& operator=(const WholeDeflater&) = delete;

    // Cheap probe on a few samples: true when deflating would gain almost
    // nothing (already compressed or random data), so the caller stores.
    bool looksIncompressible(const unsigned char* data, size_t size);

    // Deflates data into out; false when the result would not be smaller
    // than the data (the caller then stores it).
    // At level 6 a large buffer whose sample gains clearly from a deeper
    // search is deflated with it.
    bool deflate(const unsigned char* data, size_t size, ByteBuffer& out);

    // Whether the last deflate used the deeper search.
    bool usedRicherLevel() const { return m_usedRicherLevel; }

private:
    libdeflate_compressor* m_compressor = nullptr;
    libdeflate_compressor* m_probe = nullptr;
    libdeflate_compressor* m_richer = nullptr; // level 6 only
    bool m_usedRicherLevel = false;
    ByteBuffer m_scratch;
};

// A raw deflate stream fed piece by piece, in bounded memory.
class StreamDeflater {
public:
    explicit StreamDeflater(int level);
    ~StreamDeflater();
    StreamDeflater(const StreamDeflater&) = delete;
    StreamDeflater& operator=(const StreamDeflater&) = delete;

    // Appends the compressed form of data to out; finish ends the stream.
    void feed(const unsigned char* data, size_t size, bool finish, std::vector<unsigned char>& out);

private:
    z_stream_s* m_stream = nullptr;
};

// The probe of WholeDeflater for callers without one at hand.
bool sampleLooksIncompressible(const unsigned char* data, size_t size);

} // namespace zipcore
