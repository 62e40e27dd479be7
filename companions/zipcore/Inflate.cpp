#include "zipcore/Inflate.h"

#include <climits>
#include <zlib.h>

namespace zipcore {

namespace {
constexpr int kRawDeflateWindow = -15; // no zlib header: ZIP stores bare deflate
constexpr size_t kMaxChunk = UINT_MAX;
} // namespace

Inflater::Inflater() : m_stream(new z_stream{}) {
    if (inflateInit2(m_stream, kRawDeflateWindow) != Z_OK) {
        delete m_stream;
        m_stream = nullptr;
    }
}

Inflater::~Inflater() {
    if (m_stream) {
        inflateEnd(m_stream);
        delete m_stream;
    }
}

void Inflater::reset() {
    if (m_stream) inflateReset(m_stream);
}

Inflater::Step Inflater::run(const unsigned char* input, size_t inputSize, unsigned char* output,
                             size_t outputSize) {
    Step step;
    if (!m_stream) {
        step.status = Status::DataError;
        return step;
    }
    m_stream->next_in = const_cast<unsigned char*>(input);
    m_stream->avail_in = static_cast<uInt>(inputSize < kMaxChunk ? inputSize : kMaxChunk);
    m_stream->next_out = output;
    m_stream->avail_out = static_cast<uInt>(outputSize < kMaxChunk ? outputSize : kMaxChunk);
    const uInt inBefore = m_stream->avail_in;
    const uInt outBefore = m_stream->avail_out;
    const int rc = inflate(m_stream, Z_NO_FLUSH);
    step.consumed = inBefore - m_stream->avail_in;
    step.produced = outBefore - m_stream->avail_out;
    if (rc == Z_STREAM_END)
        step.status = Status::StreamEnd;
    else if (rc == Z_OK || rc == Z_BUF_ERROR) // Z_BUF_ERROR: wants more input or more room
        step.status = Status::Progress;
    else
        step.status = Status::DataError;
    return step;
}

} // namespace zipcore
