#pragma once
// Little-endian field access for ZIP records, independent of the host.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zipcore {

inline uint16_t le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t le64(const unsigned char* p) {
    return uint64_t{le32(p)} | (uint64_t{le32(p + 4)} << 32);
}

inline void put16(unsigned char* p, uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
inline void put32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

inline void append16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
inline void append32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline void append64(std::string& out, uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A bounds-checked reading cursor: any read past the end clears ok() and
// yields zeros, so a run of reads is checked once at its end.
class ByteCursor {
public:
    ByteCursor(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}

    uint16_t u16() { return take(2) ? le16(m_data + m_pos - 2) : 0; }
    uint32_t u32() { return take(4) ? le32(m_data + m_pos - 4) : 0; }
    uint64_t u64() { return take(8) ? le64(m_data + m_pos - 8) : 0; }
    const unsigned char* bytes(size_t n) { return take(n) ? m_data + m_pos - n : nullptr; }
    void skip(size_t n) { take(n); }

    bool ok() const { return m_ok; }
    size_t position() const { return m_pos; }
    size_t remaining() const { return m_size - m_pos; }

private:
    bool take(size_t n) {
        if (!m_ok || n > m_size - m_pos) {
            m_ok = false;
            return false;
        }
        m_pos += n;
        return true;
    }

    const unsigned char* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

} // namespace zipcore
