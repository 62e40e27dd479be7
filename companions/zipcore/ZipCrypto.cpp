#include "zipcore/ZipCrypto.h"

#include <random>

namespace zipcore {

namespace {

// One step of the plain bytewise CRC-32, as the key schedule uses it.
uint32_t crcStep(uint32_t crc, uint8_t byte) {
    static const auto table = [] {
        struct Table {
            uint32_t v[256];
        } t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t.v[i] = c;
        }
        return t;
    }();
    return table.v[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

} // namespace

ZipCrypto::ZipCrypto(std::string_view password) {
    for (char c : password) updateKeys(static_cast<uint8_t>(c));
}

uint8_t ZipCrypto::keystreamByte() const {
    // Unsigned 32-bit product: 16-bit operands would promote to int and overflow.
    const uint32_t temp = (m_key2 | 2) & 0xFFFF;
    return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

void ZipCrypto::updateKeys(uint8_t plain) {
    m_key0 = crcStep(m_key0, plain);
    m_key1 = (m_key1 + (m_key0 & 0xFF)) * 134775813u + 1;
    m_key2 = crcStep(m_key2, static_cast<uint8_t>(m_key1 >> 24));
}

void ZipCrypto::encrypt(unsigned char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const uint8_t plain = data[i];
        data[i] = plain ^ keystreamByte();
        updateKeys(plain);
    }
}

void ZipCrypto::decrypt(unsigned char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const uint8_t plain = data[i] ^ keystreamByte();
        data[i] = plain;
        updateKeys(plain);
    }
}

void ZipCrypto::makeHeader(unsigned char header[12], uint8_t checkByte) {
    static thread_local std::mt19937 generator{std::random_device{}()};
    for (int i = 0; i < 11; ++i) header[i] = static_cast<unsigned char>(generator() & 0xFF);
    header[11] = checkByte;
    encrypt(header, 12);
}

bool ZipCrypto::checkHeader(unsigned char header[12], uint8_t checkByte) {
    decrypt(header, 12);
    return header[11] == checkByte;
}

} // namespace zipcore
