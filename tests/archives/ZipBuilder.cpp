#include "ZipBuilder.h"

#include "zipcore/ByteOrder.h"
#include "zipcore/Crc32.h"
#include "zipcore/ZipCrypto.h"

#include <zlib.h>

namespace ziptest {

using zipcore::append16;
using zipcore::append32;
using zipcore::append64;

std::string deflateRaw(const std::string& data) {
    z_stream stream{};
    deflateInit2(&stream, data.size() > (16u << 20) ? 1 : 6, Z_DEFLATED, -15, 8,
                 Z_DEFAULT_STRATEGY); // big test data: fast
    std::string out(deflateBound(&stream, data.size()) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

namespace {

struct Written {
    uint32_t crc, compressed, size, offset;
    uint16_t flags;
};

std::string encodedPayload(const BuildEntry& entry, uint32_t crc) {
    std::string body = entry.payload       ? *entry.payload
                       : entry.method == 8 ? deflateRaw(entry.data)
                                           : entry.data;
    if (entry.password.empty()) return body;
    // A fixed header instead of a random one, so that which wrong passwords
    // slip through the one-byte check is the same on every run.
    zipcore::ZipCrypto crypto(entry.password);
    unsigned char header[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, static_cast<uint8_t>(crc >> 24)};
    crypto.encrypt(header, sizeof header);
    crypto.encrypt(reinterpret_cast<unsigned char*>(body.data()), body.size());
    return std::string(reinterpret_cast<char*>(header), 12) + body;
}

constexpr uint32_t kSaturated = 0xFFFFFFFFu;

// The Zip64 field: the sizes, and the offset in a central header.
std::string zip64Extra(const BuildEntry& entry, uint64_t size, uint64_t compressed,
                       std::optional<uint64_t> offset) {
    if (!entry.zip64 || entry.zip64Missing) return {};
    std::string data;
    append64(data, size);
    append64(data, compressed);
    if (offset) append64(data, *offset);
    std::string out;
    append16(out, 0x0001);
    append16(out, static_cast<uint16_t>(data.size()));
    return out + data;
}

void appendCommon(std::string& out, const BuildEntry& entry, const Written& w, size_t extraSize) {
    append16(out, 20);
    append16(out, w.flags);
    append16(out, entry.method);
    append16(out, entry.dosTime);
    append16(out, entry.dosDate);
    append32(out, w.crc);
    append32(out, w.compressed);
    append32(out, w.size);
    append16(out, static_cast<uint16_t>(entry.name.size()));
    append16(out, static_cast<uint16_t>(extraSize));
}

void appendZip64End(std::string& out, const BuildOptions& options, uint64_t count,
                    uint64_t centralSize, uint64_t centralOffset, uint32_t base) {
    const uint64_t recordOffset = out.size() - base;
    append32(out, 0x06064b50);
    append64(out, 44);
    append16(out, 45);
    append16(out, 45);
    append32(out, 0);
    append32(out, 0);
    append64(out, options.zip64Count.value_or(count));
    append64(out, options.zip64Count.value_or(count));
    append64(out, centralSize);
    append64(out, centralOffset);
    append32(out, 0x07064b50);
    append32(out, 0);
    append64(out, options.zip64EndOffset.value_or(recordOffset));
    append32(out, 1);
}

} // namespace

std::string buildZip(const std::vector<BuildEntry>& entries, const BuildOptions& options) {
    std::string out = options.prefix;
    const uint32_t base = options.rebase ? 0 : static_cast<uint32_t>(options.prefix.size());
    std::vector<Written> written;
    for (const BuildEntry& entry : entries) {
        const uint32_t realCrc = zipcore::crc32Update(0, entry.data.data(), entry.data.size());
        Written w{entry.crc.value_or(realCrc), 0,
                  entry.declaredSize.value_or(static_cast<uint32_t>(entry.data.size())),
                  static_cast<uint32_t>(out.size()) - base,
                  static_cast<uint16_t>(entry.extraFlags | (entry.password.empty() ? 0 : 1))};
        const std::string body = encodedPayload(entry, w.crc);
        w.compressed = entry.declaredCompressed.value_or(static_cast<uint32_t>(body.size()));
        if (entry.dataDescriptor) w.flags |= 0x0008;
        // With a descriptor the local header carries zeros; the values follow the data.
        Written local = entry.dataDescriptor ? Written{0, 0, 0, w.offset, w.flags} : w;
        const std::string localZip64 =
            zip64Extra(entry, entry.dataDescriptor ? 0 : entry.localZip64Size.value_or(w.size),
                       entry.dataDescriptor ? 0 : w.compressed, std::nullopt);
        if (entry.zip64) local.compressed = local.size = kSaturated;
        append32(out, 0x04034b50);
        appendCommon(out, entry, local, localZip64.size() + entry.extra.size());
        out += entry.name + localZip64 + entry.extra + body;
        if (entry.dataDescriptor) {
            append32(out, 0x08074b50);
            append32(out, w.crc);
            if (entry.zip64) {
                append64(out, w.compressed);
                append64(out, w.size);
            } else {
                append32(out, w.compressed);
                append32(out, w.size);
            }
        }
        if (entry.localOffset) w.offset = *entry.localOffset;
        written.push_back(w);
    }
    const uint32_t centralOffset = static_cast<uint32_t>(out.size()) - base;
    for (size_t i = 0; i < entries.size(); ++i) {
        const BuildEntry& entry = entries[i];
        Written central = written[i];
        const std::string centralZip64 =
            zip64Extra(entry, central.size, central.compressed, central.offset);
        if (entry.zip64) central.compressed = central.size = central.offset = kSaturated;
        append32(out, 0x02014b50);
        append16(out, static_cast<uint16_t>((entry.host << 8) | entry.version));
        appendCommon(out, entry, central, centralZip64.size() + entry.extra.size());
        append16(out, static_cast<uint16_t>(entry.comment.size()));
        append16(out, 0); // disk
        append16(out, 0); // internal attributes
        append32(out, entry.host == 3 ? entry.unixMode << 16 : 0);
        append32(out, central.offset);
        out += entry.name + centralZip64 + entry.extra + entry.comment;
    }
    const uint32_t centralSize = static_cast<uint32_t>(out.size()) - base - centralOffset;
    if (options.zip64End)
        appendZip64End(out, options, entries.size(), centralSize, centralOffset, base);
    if (options.zip64Locator) {
        append32(out, 0x07064b50);
        out += std::string(16, '\0');
    }
    append32(out, 0x06054b50);
    append16(out, 0);
    append16(out, 0);
    const uint16_t count =
        options.zip64End ? 0xFFFF
                         : options.declaredCount.value_or(static_cast<uint16_t>(entries.size()));
    append16(out, count);
    append16(out, count);
    append32(out, options.classicCentralSize.value_or(options.zip64End ? kSaturated : centralSize));
    append32(out, options.zip64End ? kSaturated : centralOffset);
    append16(out, static_cast<uint16_t>(options.comment.size()));
    return out + options.comment + options.trailing;
}

} // namespace ziptest
