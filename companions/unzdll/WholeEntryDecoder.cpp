#include "WholeEntryDecoder.h"

#include "zipcore/Crc32.h"
#include "zipcore/ZipCrypto.h"
#include "zipcore/ZipFormat.h"

#include <libdeflate.h>
#include <memory>

namespace unzdll {

using zipcore::DecodeResult;
using zipcore::DecodeStatus;

namespace {

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
// One per call rather than per thread: a thread-local one would pin the
// library in memory after the engine unloads it.
using Decompressor = std::unique_ptr<libdeflate_decompressor, DecompressorDeleter>;

DecodeResult fail(DecodeStatus status, std::string message)
{
    DecodeResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

// Reads the entry's bytes and strips the encryption. Returns the offset of
// the payload in raw.
bool readPayload(zipcore::ZipInput& input, uint64_t dataOffset, const zipcore::ZipEntry& entry,
                 const std::string& password, Bytes& raw, DecodeResult& problem)
{
    raw.resize(entry.compressedSize);
    if (!input.readExact(dataOffset, raw.data(), raw.size())) {
        problem = fail(DecodeStatus::Truncated, "the archive ends inside this entry");
        return false;
    }
    if (!entry.isEncrypted())
        return true;
    if (!zipcore::passwordMatches(input, dataOffset, entry, password)) {
        problem = fail(DecodeStatus::WrongPassword, "wrong password");
        return false;
    }
    zipcore::ZipCrypto crypto(password);
    crypto.decrypt(raw.data(), raw.size());
    raw.erase(raw.begin(), raw.begin() + zipcore::kEncryptionHeaderSize);
    return true;
}

DecodeResult inflateWhole(const Bytes& raw, Bytes& output)
{
    const Decompressor decompressor(libdeflate_alloc_decompressor());
    if (!decompressor)
        return fail(DecodeStatus::DataError, "out of memory");
    // Without an actual-size pointer libdeflate insists on filling the
    // buffer exactly: shorter or longer data is an error.
    switch (libdeflate_deflate_decompress(decompressor.get(), raw.data(), raw.size(), output.data(), output.size(), nullptr)) {
    case LIBDEFLATE_SUCCESS:
        return DecodeResult{};
    case LIBDEFLATE_INSUFFICIENT_SPACE:
        return fail(DecodeStatus::TooLarge, "the data is larger than its declared size");
    case LIBDEFLATE_SHORT_OUTPUT:
        return fail(DecodeStatus::DataError, "the data is smaller than its declared size");
    default:
        return fail(DecodeStatus::DataError, "the compressed data is damaged");
    }
}

} // namespace

DecodeResult decodeWhole(zipcore::ZipInput& input, uint64_t dataOffset, const zipcore::ZipEntry& entry,
                         const std::string& password, Bytes& output)
{
    if (std::string reason = zipcore::unsupportedReason(entry); !reason.empty())
        return fail(DecodeStatus::Unsupported, reason);
    if (!zipcore::declaredSizeIsPlausible(entry))
        return fail(DecodeStatus::DataError, "the declared size cannot come from this compressed data");
    if (entry.isEncrypted() && entry.compressedSize < zipcore::kEncryptionHeaderSize)
        return fail(DecodeStatus::DataError, "the encrypted data is too short");
    Bytes raw;
    DecodeResult result;
    if (!readPayload(input, dataOffset, entry, password, raw, result))
        return result;
    if (entry.method == zipcore::kMethodStored) {
        if (raw.size() != entry.uncompressedSize)
            return fail(DecodeStatus::DataError, "the stored sizes disagree");
        output.swap(raw);
    } else {
        output.resize(entry.uncompressedSize);
        result = inflateWhole(raw, output);
        if (result.status != DecodeStatus::Ok)
            return result;
    }
    result.produced = output.size();
    result.crc = zipcore::crc32Update(0, output.data(), output.size());
    if (result.crc != entry.crc32)
        result.status = DecodeStatus::CrcMismatch, result.message = "CRC error";
    return result;
}

} // namespace unzdll
