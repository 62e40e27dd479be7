#include "zipcore/DeflateCompressor.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <new>
#include <stdexcept>

namespace zipcore {

namespace {

constexpr size_t kProbeSampleSize = 16 * 1024;
constexpr size_t kProbeSamples = 4;
constexpr size_t kProbeMinimum = 2 * kProbeSampleSize;
// Samples that deflate to more than this share of their size mark the data
// as not worth a full deflate pass.
constexpr double kIncompressibleRatio = 0.97;

// The libdeflate level whose output is no larger than zlib's at the archive
// level, measured on word-heavy text (where libdeflate's faster levels
// fall behind zlib's lazy matching) and on binaries. Index: zlib level.
constexpr int kLibdeflateLevel[10] = {1, 1, 2, 3, 4, 6, 7, 10, 11, 12};

libdeflate_compressor* allocCompressor(int level)
{
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
    if (!compressor)
        throw std::bad_alloc();
    return compressor;
}

bool probeSamples(libdeflate_compressor* probe, const unsigned char* data, size_t size)
{
    if (size < kProbeMinimum)
        return false;
    std::vector<unsigned char> scratch(libdeflate_deflate_compress_bound(probe, kProbeSampleSize));
    const size_t step = (size - kProbeSampleSize) / (kProbeSamples - 1);
    size_t packed = 0;
    for (size_t i = 0; i < kProbeSamples; ++i) {
        const size_t written = libdeflate_deflate_compress(probe, data + i * step, kProbeSampleSize, scratch.data(),
                                                           scratch.size());
        packed += written == 0 ? kProbeSampleSize : written;
    }
    return packed > kIncompressibleRatio * kProbeSamples * kProbeSampleSize;
}

} // namespace

int libdeflateLevelFor(int zlibLevel)
{
    return kLibdeflateLevel[std::clamp(zlibLevel, 1, 9)];
}

WholeDeflater::WholeDeflater(int level)
    : m_compressor(allocCompressor(libdeflateLevelFor(level))), m_probe(allocCompressor(1))
{
}

WholeDeflater::~WholeDeflater()
{
    libdeflate_free_compressor(m_compressor);
    libdeflate_free_compressor(m_probe);
}

bool WholeDeflater::looksIncompressible(const unsigned char* data, size_t size)
{
    return probeSamples(m_probe, data, size);
}

bool WholeDeflater::deflate(const unsigned char* data, size_t size, std::vector<unsigned char>& out)
{
    // Output must be smaller than the input to be worth keeping. The
    // scratch buffer is kept between files: a fresh one per file would be
    // zeroed and faulted in again for nothing.
    if (m_scratch.size() < size + 1)
        m_scratch.resize(size + 1);
    const size_t written = libdeflate_deflate_compress(m_compressor, data, size, m_scratch.data(), size - (size > 0));
    out.assign(m_scratch.data(), m_scratch.data() + written);
    return written != 0;
}

bool sampleLooksIncompressible(const unsigned char* data, size_t size)
{
    libdeflate_compressor* probe = allocCompressor(1);
    const bool result = probeSamples(probe, data, size);
    libdeflate_free_compressor(probe);
    return result;
}

StreamDeflater::StreamDeflater(int level) : m_stream(new z_stream{})
{
    if (deflateInit2(m_stream, std::clamp(level, 1, 9), Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        delete m_stream;
        throw std::bad_alloc();
    }
}

StreamDeflater::~StreamDeflater()
{
    deflateEnd(m_stream);
    delete m_stream;
}

void StreamDeflater::feed(const unsigned char* data, size_t size, bool finish, std::vector<unsigned char>& out)
{
    m_stream->next_in = const_cast<unsigned char*>(data);
    m_stream->avail_in = static_cast<uInt>(size);
    const int flush = finish ? Z_FINISH : Z_NO_FLUSH;
    for (;;) {
        const size_t before = out.size();
        const size_t room = std::max<size_t>(64 * 1024, size / 2);
        out.resize(before + room);
        m_stream->next_out = out.data() + before;
        m_stream->avail_out = static_cast<uInt>(room);
        const int status = ::deflate(m_stream, flush);
        out.resize(before + room - m_stream->avail_out);
        if (status == Z_STREAM_ERROR)
            throw std::runtime_error("deflate stream error");
        if (finish ? status == Z_STREAM_END : (m_stream->avail_in == 0 && m_stream->avail_out != 0))
            return;
    }
}

} // namespace zipcore
