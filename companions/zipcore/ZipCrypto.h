#pragma once
// Traditional PKWARE encryption (APPNOTE 6.1): three 32-bit keys updated by
// every plain byte, and a 12-byte header whose last byte checks the password.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zipcore {

class ZipCrypto {
public:
    explicit ZipCrypto(std::string_view password);

    // In place, in order; each call continues the stream.
    void encrypt(unsigned char* data, size_t size);
    void decrypt(unsigned char* data, size_t size);

    // Builds the 12-byte header for an entry: 11 random bytes, then the check
    // byte (high byte of the CRC, or of the DOS time when a data descriptor
    // follows), all encrypted. Call once, first.
    void makeHeader(unsigned char header[12], uint8_t checkByte);

    // Decrypts the 12-byte header in place and tells whether its last byte
    // matches checkByte (a wrong password fails here 255 times in 256).
    bool checkHeader(unsigned char header[12], uint8_t checkByte);

private:
    uint8_t keystreamByte() const;
    void updateKeys(uint8_t plain);

    uint32_t m_key0 = 0x12345678;
    uint32_t m_key1 = 0x23456789;
    uint32_t m_key2 = 0x34567890;
};

} // namespace zipcore
