#include "WholeEntryDecoder.h"

#include "zipcore/Crc32.h"
#include "zipcore/ZipCrypto.h"
#include "zipcore/ZipFormat.h"

#include <libdeflate.h>

namespace unzdll {

using zipcore::DecodeResult;
using zipcore::DecodeStatus;

namespace {

DecodeResult fail(DecodeStatus status, std::string message) {
    DecodeResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

struct Payload {
    const unsigned char* data = nullptr;
    size_t size = 0;
};

// The entry's stored bytes, read (and decrypted) into raw; payload is
// the part of raw after any encryption header.
DecodeResult fetchPayload(zipcore::ZipInput& input, uint64_t dataOffset,
                          const zipcore::ZipEntry& entry, const std::string& password, Bytes& raw,
                          Payload& payload) {
    raw.resize(entry.compressedSize);
    if (!input.readExact(dataOffset, raw.data(), raw.size()))
        return fail(DecodeStatus::Truncated, "the archive ends inside this entry");
    payload = {raw.data(), raw.size()};
    if (!entry.isEncrypted()) return {};
    if (!zipcore::passwordMatches(input, dataOffset, entry, password))
        return fail(DecodeStatus::WrongPassword, "wrong password");
    zipcore::ZipCrypto crypto(password);
    crypto.decrypt(raw.data(), raw.size());
    payload = {raw.data() + zipcore::kEncryptionHeaderSize,
               raw.size() - zipcore::kEncryptionHeaderSize};
    return {};
}

DecodeResult inflateWhole(libdeflate_decompressor* given, const Payload& payload, Bytes& output) {
    Decompressor own;
    if (!given) {
        own = Decompressor(libdeflate_alloc_decompressor());
        if (!own) return fail(DecodeStatus::DataError, "out of memory");
        given = own.get();
    }
    // Without an actual-size pointer libdeflate insists on filling the
    // buffer exactly: shorter or longer data is an error.
    switch (libdeflate_deflate_decompress(given, payload.data, payload.size, output.data(),
                                          output.size(), nullptr)) {
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

void DecompressorDeleter::operator()(libdeflate_decompressor* decompressor) const {
    libdeflate_free_decompressor(decompressor);
}

Decompressor makeDecompressor() {
    Decompressor decompressor(libdeflate_alloc_decompressor());
    if (!decompressor) throw std::bad_alloc();
    return decompressor;
}

void decodeWhole(zipcore::ZipInput& input, uint64_t dataOffset, const zipcore::ZipEntry& entry,
                 const std::string& password, DecodedEntry& out,
                 libdeflate_decompressor* decompressor, Bytes* readBuffer) {
    if (std::string reason = zipcore::unsupportedReason(entry); !reason.empty())
        return void(out.result = fail(DecodeStatus::Unsupported, reason));
    if (!zipcore::declaredSizeIsPlausible(entry))
        return void(out.result = fail(DecodeStatus::DataError,
                                      "the declared size cannot come from this compressed data"));
    if (entry.isEncrypted() && entry.compressedSize < zipcore::kEncryptionHeaderSize)
        return void(out.result = fail(DecodeStatus::DataError, "the encrypted data is too short"));
    Bytes ownBuffer;
    Bytes& raw = readBuffer ? *readBuffer : ownBuffer;
    Payload payload;
    out.result = fetchPayload(input, dataOffset, entry, password, raw, payload);
    if (out.result.status != DecodeStatus::Ok) return;
    if (entry.method == zipcore::kMethodStored) {
        if (payload.size != entry.uncompressedSize)
            return void(out.result = fail(DecodeStatus::DataError, "the stored sizes disagree"));
        out.storage = std::move(raw); // the payload points into it; moving keeps the buffer
        raw = Bytes{};                // a reader's buffer starts over, empty
        out.data = payload.data;
    } else {
        out.storage.resize(entry.uncompressedSize);
        out.result = inflateWhole(decompressor, payload, out.storage);
        if (out.result.status != DecodeStatus::Ok) return;
        out.data = out.storage.data();
    }
    out.size = entry.uncompressedSize;
    out.result.produced = out.size;
    out.result.crc = zipcore::crc32Update(0, out.data, out.size);
    if (out.result.crc != entry.crc32)
        out.result.status = DecodeStatus::CrcMismatch, out.result.message = "CRC error";
}

} // namespace unzdll
