#pragma once
// Streaming raw-deflate decoder over zlib. The caller bounds the output: the
// inflater only fills the space it is given and says when the stream ended.

#include <cstddef>
#include <cstdint>

struct z_stream_s;

namespace zipcore {

class Inflater {
public:
    Inflater();
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    enum class Status {
        Progress,
        StreamEnd,
        DataError
    };

    struct Step {
        Status status = Status::Progress;
        size_t consumed = 0; // input bytes taken
        size_t produced = 0; // output bytes written
    };

    // Decodes as much of input as fits into output.
    Step run(const unsigned char* input, size_t inputSize, unsigned char* output,
             size_t outputSize);
    void reset();
    bool valid() const { return m_stream != nullptr; }

private:
    z_stream_s* m_stream = nullptr;
};

} // namespace zipcore
