#include "EntryExtractor.h"

#include "FileSystem.h"
#include "zipcore/Crc32.h"
#include "zipcore/ZipCrypto.h"
#include "zipcore/ZipFormat.h"

#include <memory>
#include <vector>
#include <zlib.h>

namespace sfxcore {
namespace {

constexpr size_t kChunk = 64 * 1024;

uint8_t checkByteOf(const ArchiveEntry& entry)
{
    // With a data descriptor the CRC is not known when the header is made.
    return (entry.flags & zipcore::kFlagDataDescriptor) ? static_cast<uint8_t>(entry.dosTime >> 8)
                                                        : static_cast<uint8_t>(entry.crc >> 24);
}

// Hands the stored bytes, decrypted, chunk by chunk to a consumer.
class StoredReader {
public:
    StoredReader(std::FILE* in, uint64_t remaining, std::unique_ptr<zipcore::ZipCrypto> crypto)
        : m_in(in), m_remaining(remaining), m_crypto(std::move(crypto)), m_buffer(kChunk)
    {
    }
    // Returns the bytes read; 0 at the end; sets failed on a short read.
    size_t next(const unsigned char*& data)
    {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(m_remaining, kChunk));
        if (want == 0)
            return 0;
        if (std::fread(m_buffer.data(), 1, want, m_in) != want) {
            failed = true;
            return 0;
        }
        if (m_crypto)
            m_crypto->decrypt(m_buffer.data(), want);
        m_remaining -= want;
        data = m_buffer.data();
        return want;
    }
    bool failed = false;

private:
    std::FILE* m_in;
    uint64_t m_remaining;
    std::unique_ptr<zipcore::ZipCrypto> m_crypto;
    std::vector<unsigned char> m_buffer;
};

struct Output {
    std::FILE* file;
    uint32_t crc = 0;
    uint64_t written = 0;
    const std::function<void(uint64_t)>& onBytes;
    bool put(const unsigned char* data, size_t size)
    {
        crc = zipcore::crc32Update(crc, data, size);
        written += size;
        if (onBytes)
            onBytes(written);
        return std::fwrite(data, 1, size, file) == size;
    }
};

ExtractResult copyStored(StoredReader& reader, Output& out)
{
    const unsigned char* data = nullptr;
    while (size_t n = reader.next(data)) {
        if (!out.put(data, n))
            return ExtractResult::WriteError;
    }
    return reader.failed ? ExtractResult::ReadError : ExtractResult::Ok;
}

ExtractResult inflateRaw(StoredReader& reader, Output& out)
{
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return ExtractResult::ReadError;
    std::vector<unsigned char> produced(kChunk);
    int status = Z_OK;
    const unsigned char* data = nullptr;
    while (status != Z_STREAM_END) {
        if (z.avail_in == 0) {
            z.avail_in = static_cast<uInt>(reader.next(data));
            z.next_in = const_cast<Bytef*>(data);
            if (z.avail_in == 0)
                break;
        }
        z.next_out = produced.data();
        z.avail_out = static_cast<uInt>(produced.size());
        status = inflate(&z, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END)
            break;
        if (!out.put(produced.data(), produced.size() - z.avail_out)) {
            inflateEnd(&z);
            return ExtractResult::WriteError;
        }
    }
    inflateEnd(&z);
    return status == Z_STREAM_END ? ExtractResult::Ok : ExtractResult::ReadError;
}

} // namespace

bool EntryExtractor::passwordOpens(const ArchiveEntry& entry, const std::string& password)
{
    const auto pos = m_archive.dataPosition(entry);
    unsigned char header[zipcore::kEncryptionHeaderSize];
    if (!pos || entry.compressedSize < sizeof header || !m_archive.seekTo(*pos)
        || std::fread(header, 1, sizeof header, m_archive.file()) != sizeof header)
        return false;
    zipcore::ZipCrypto crypto(password);
    return crypto.checkHeader(header, checkByteOf(entry));
}

ExtractResult EntryExtractor::extract(const ArchiveEntry& entry, const std::string& target, const std::string& password)
{
    if (entry.method != zipcore::kMethodStored && entry.method != zipcore::kMethodDeflated)
        return ExtractResult::Unsupported;
    if (entry.encrypted() && !passwordOpens(entry, password))
        return ExtractResult::WrongPassword;
    const auto pos = m_archive.dataPosition(entry);
    if (!pos)
        return ExtractResult::ReadError;
    const std::string temporary = target + ".sfx-part";
    std::FILE* out = openFile(temporary, "wb");
    if (!out)
        return ExtractResult::WriteError;
    ExtractResult result = copyData(entry, *pos, password, out);
    if (std::fclose(out) != 0 && result == ExtractResult::Ok)
        result = ExtractResult::WriteError;
    if (result == ExtractResult::Ok && !replaceFile(temporary, target))
        result = ExtractResult::WriteError;
    if (result != ExtractResult::Ok)
        removeFile(temporary);
    else
        setFileTime(target, entry.dosDate, entry.dosTime);
    return result;
}

ExtractResult EntryExtractor::copyData(const ArchiveEntry& entry, uint64_t pos, const std::string& password,
                                       std::FILE* out)
{
    if (!m_archive.seekTo(pos))
        return ExtractResult::ReadError;
    std::unique_ptr<zipcore::ZipCrypto> crypto;
    uint64_t stored = entry.compressedSize;
    if (entry.encrypted()) {
        // The keys are set up by decrypting the 12-byte encryption header again.
        unsigned char header[zipcore::kEncryptionHeaderSize];
        if (stored < sizeof header || std::fread(header, 1, sizeof header, m_archive.file()) != sizeof header)
            return ExtractResult::ReadError;
        crypto = std::make_unique<zipcore::ZipCrypto>(password);
        crypto->checkHeader(header, checkByteOf(entry));
        stored -= sizeof header;
    }
    StoredReader reader(m_archive.file(), stored, std::move(crypto));
    Output output{out, 0, 0, onBytes};
    const ExtractResult result =
        entry.method == zipcore::kMethodStored ? copyStored(reader, output) : inflateRaw(reader, output);
    if (result != ExtractResult::Ok)
        return result;
    return output.crc == entry.crc && output.written == entry.uncompressedSize ? ExtractResult::Ok
                                                                               : ExtractResult::CrcError;
}

} // namespace sfxcore
