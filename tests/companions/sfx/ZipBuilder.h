#pragma once
// Builds small ZIP archives in memory for the self-extractor tests: stored
// or deflated entries, optional traditional encryption, an archive comment,
// and offsets counted from a chosen base (as if a prefix came first).

#include "zipcore/ByteOrder.h"
#include "zipcore/Crc32.h"
#include "zipcore/ZipCrypto.h"

#include <cstdint>
#include <string>
#include <vector>
#include <zlib.h>

namespace testzip {

struct Item {
    std::string name;
    std::string data;
    bool deflate = false;
    std::string password; // empty: not encrypted
};

inline std::string rawDeflate(const std::string& data) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, uLong(data.size())) + 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

inline std::string build(const std::vector<Item>& items, const std::string& comment = {},
                         uint32_t base = 0) {
    std::string body, central;
    for (const Item& item : items) {
        const uint32_t crc = zipcore::crc32Update(0, item.data.data(), item.data.size());
        std::string stored = item.deflate ? rawDeflate(item.data) : item.data;
        uint16_t flags = 0;
        if (!item.password.empty()) {
            flags |= 1;
            zipcore::ZipCrypto crypto(item.password);
            unsigned char header[12];
            crypto.makeHeader(header, uint8_t(crc >> 24));
            crypto.encrypt(reinterpret_cast<unsigned char*>(stored.data()), stored.size());
            stored.insert(0, reinterpret_cast<const char*>(header), 12);
        }
        const uint16_t method = item.deflate ? 8 : 0;
        const uint32_t localOffset = base + uint32_t(body.size());
        std::string common;
        zipcore::append16(common, 20);
        zipcore::append16(common, flags);
        zipcore::append16(common, method);
        zipcore::append16(common, 0x6000); // 12:00
        zipcore::append16(common, 0x5A21); // 2025-01-01
        zipcore::append32(common, crc);
        zipcore::append32(common, uint32_t(stored.size()));
        zipcore::append32(common, uint32_t(item.data.size()));
        zipcore::append16(common, uint16_t(item.name.size()));
        zipcore::append16(common, 0);
        body += std::string("PK\3\4") + common + item.name + stored;
        central += std::string("PK\1\2");
        zipcore::append16(central, 20);
        central += common;
        zipcore::append16(central, 0); // comment
        zipcore::append16(central, 0); // disk
        zipcore::append16(central, 0); // internal
        zipcore::append32(central, 0); // external
        zipcore::append32(central, localOffset);
        central += item.name;
    }
    std::string end("PK\5\6");
    zipcore::append16(end, 0);
    zipcore::append16(end, 0);
    zipcore::append16(end, uint16_t(items.size()));
    zipcore::append16(end, uint16_t(items.size()));
    zipcore::append32(end, uint32_t(central.size()));
    zipcore::append32(end, base + uint32_t(body.size()));
    zipcore::append16(end, uint16_t(comment.size()));
    return body + central + end + comment;
}

} // namespace testzip
