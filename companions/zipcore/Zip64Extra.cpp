#include "zipcore/Zip64Extra.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/ZipFormat.h"

#include <optional>

namespace zipcore {

namespace {

struct ExtraBlock {
    size_t start = 0; // of its 4-byte header
    size_t dataSize = 0;
};

std::optional<ExtraBlock> findZip64Block(std::string_view extra) {
    ByteCursor cursor(reinterpret_cast<const unsigned char*>(extra.data()), extra.size());
    while (cursor.remaining() >= 4) {
        const size_t start = cursor.position();
        const uint16_t id = cursor.u16();
        const uint16_t length = cursor.u16();
        if (length > cursor.remaining()) return std::nullopt;
        if (id == kExtraZip64) return ExtraBlock{start, length};
        cursor.skip(length);
    }
    return std::nullopt;
}

void put64(char* p, uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The listed values laid out in the field's order.
std::string zip64Data(uint8_t fields, const Zip64Values& values) {
    std::string out(zip64DataSize(fields), '\0');
    size_t at = 0;
    for (const auto& [field, value] : {std::pair{kZip64Uncompressed, values.uncompressedSize},
                                       std::pair{kZip64Compressed, values.compressedSize},
                                       std::pair{kZip64Offset, values.localHeaderOffset}}) {
        if (!(fields & field)) continue;
        put64(out.data() + at, value);
        at += 8;
    }
    if (fields & kZip64Disk)
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(values.diskStart >> (8 * i));
    return out;
}

} // namespace

size_t zip64DataSize(uint8_t fields) {
    size_t size = 0;
    for (const uint8_t field : {kZip64Uncompressed, kZip64Compressed, kZip64Offset})
        if (fields & field) size += 8;
    return (fields & kZip64Disk) ? size + 4 : size;
}

bool readZip64Extra(std::string_view extra, uint8_t fields, Zip64Values& values) {
    const std::optional<ExtraBlock> block = findZip64Block(extra);
    if (!block || block->dataSize < zip64DataSize(fields)) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(extra.data()) + block->start + 4;
    if (fields & kZip64Uncompressed) values.uncompressedSize = le64(p), p += 8;
    if (fields & kZip64Compressed) values.compressedSize = le64(p), p += 8;
    if (fields & kZip64Offset) values.localHeaderOffset = le64(p), p += 8;
    if (fields & kZip64Disk) values.diskStart = le32(p);
    return true;
}

std::string withZip64Extra(std::string_view extra, uint8_t fields, const Zip64Values& values) {
    std::string out(extra);
    if (fields == 0) return out;
    const std::string data = zip64Data(fields, values);
    const std::optional<ExtraBlock> block = findZip64Block(extra);
    if (block && block->dataSize >= data.size()) {
        out.replace(block->start + 4, data.size(), data);
        return out;
    }
    std::string fresh;
    append16(fresh, kExtraZip64);
    append16(fresh, static_cast<uint16_t>(data.size()));
    fresh += data;
    if (block)
        out.replace(block->start, 4 + block->dataSize, fresh);
    else
        out.insert(0, fresh);
    return out;
}

std::string localZip64Extra(uint64_t uncompressedSize, uint64_t compressedSize) {
    Zip64Values values;
    values.uncompressedSize = uncompressedSize;
    values.compressedSize = compressedSize;
    return withZip64Extra({}, kZip64Uncompressed | kZip64Compressed, values);
}

} // namespace zipcore
