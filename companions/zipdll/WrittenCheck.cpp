#include "zipdll/WrittenCheck.h"

#include "zipcore/Crc32.h"
#include "zipcore/ZipCrypto.h"
#include "zipcore/ZipFormat.h"
#include "zipcore/FileInput.h"

#include <algorithm>
#include <optional>
#include <vector>
#include <cstring>
#include <zlib.h>

namespace zipdll {

using namespace zipcore;

namespace {

constexpr size_t kBlock = 256 * 1024;

// CRC of the plain data of one entry read back from the archive.
bool crcOfEntry(ZipInput& input, const WrittenEntry& entry, const std::string& password,
                uint32_t& crc) {
    uint64_t offset = entry.localHeaderOffset + localHeaderBytes(entry).size();
    uint64_t left = entry.compressedSize;
    std::optional<ZipCrypto> crypto;
    if (entry.flags & kFlagEncrypted) {
        unsigned char header[kEncryptionHeaderSize];
        if (!input.readExact(offset, header, sizeof header)) return false;
        crypto.emplace(password);
        if (!crypto->checkHeader(header, static_cast<uint8_t>(entry.crc32 >> 24))) return false;
        offset += sizeof header;
        left -= sizeof header;
    }
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    std::vector<unsigned char> in(kBlock), out(kBlock);
    bool ok = true;
    int status = Z_OK;
    crc = 0;
    while (ok && left > 0) {
        const size_t chunk = static_cast<size_t>(std::min<uint64_t>(left, kBlock));
        ok = input.readExact(offset, in.data(), chunk);
        if (crypto) crypto->decrypt(in.data(), chunk);
        offset += chunk;
        left -= chunk;
        if (entry.method == kMethodStored) {
            crc = crc32Update(crc, in.data(), chunk);
            continue;
        }
        stream.next_in = in.data();
        stream.avail_in = static_cast<uInt>(chunk);
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            status = inflate(&stream, Z_NO_FLUSH);
            ok = ok && (status == Z_OK || status == Z_STREAM_END || status == Z_BUF_ERROR);
            crc = crc32Update(crc, out.data(), out.size() - stream.avail_out);
        } while (ok && stream.avail_out == 0);
    }
    inflateEnd(&stream);
    return ok && (entry.method == kMethodStored || status == Z_STREAM_END);
}

} // namespace

std::string checkWrittenEntries(const std::string& archivePath,
                                const std::vector<WrittenEntry>& entries,
                                const std::string& password) {
    FileInput input(archivePath);
    if (!input.isOpen())
        return "Cannot read back " + archivePath + ": " + std::strerror(input.openError());
    for (const WrittenEntry& entry : entries) {
        uint32_t crc = 0;
        if (!crcOfEntry(input, entry, password, crc) || crc != entry.crc32)
            return "The entry " + entry.name + " does not read back correctly";
    }
    return {};
}

} // namespace zipdll
