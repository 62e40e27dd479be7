#include "zipcore/EntryDecoder.h"

#include "zipcore/Crc32.h"
#include "zipcore/ZipCrypto.h"
#include "zipcore/ZipFormat.h"

#include <algorithm>
#include <optional>

namespace zipcore {

namespace {

constexpr uint64_t kMaxDeflateRatio = 1032;
constexpr uint64_t kRatioSlack = 1024; // tiny entries carry block overhead

DecodeResult fail(DecodeStatus status, std::string message, uint64_t produced = 0) {
    DecodeResult result;
    result.status = status;
    result.message = std::move(message);
    result.produced = produced;
    return result;
}

// With a data descriptor the writer may not know the CRC when it writes the
// header, so the check byte is then the high byte of the DOS time; accept
// either, as archives in the wild use both.
bool checkByteMatches(uint8_t found, const ZipEntry& entry) {
    if (found == static_cast<uint8_t>(entry.crc32 >> 24)) return true;
    return (entry.flags & kFlagDataDescriptor) && found == static_cast<uint8_t>(entry.dosTime >> 8);
}

} // namespace

// Reads the entry's data in order, decrypting as it goes.
struct EntryDecoder::Source {
    ZipInput& input;
    uint64_t position;
    uint64_t remaining;
    std::optional<ZipCrypto> crypto;
    bool truncated = false;

    size_t fill(unsigned char* buffer, size_t capacity) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(capacity, remaining));
        const size_t got = input.readAt(position, buffer, want);
        if (got < want) truncated = true;
        position += got;
        remaining -= got;
        if (crypto) crypto->decrypt(buffer, got);
        return got;
    }
};

std::string unsupportedReason(const ZipEntry& entry) {
    if (entry.method == kMethodAes || entry.hasAesExtra()) return "AES encryption is not supported";
    if (entry.flags & kFlagStrongEncryption) return "strong encryption is not supported";
    if (entry.method != kMethodStored && entry.method != kMethodDeflated)
        return "compression method " + std::to_string(entry.method) + " is not supported";
    return {};
}

bool passwordMatches(ZipInput& input, uint64_t dataOffset, const ZipEntry& entry,
                     std::string_view password) {
    unsigned char header[kEncryptionHeaderSize];
    if (entry.compressedSize < kEncryptionHeaderSize ||
        !input.readExact(dataOffset, header, sizeof header))
        return false;
    ZipCrypto crypto(password);
    crypto.decrypt(header, sizeof header);
    return checkByteMatches(header[kEncryptionHeaderSize - 1], entry);
}

bool declaredSizeIsPlausible(const ZipEntry& entry) {
    if (entry.method != kMethodDeflated) return true;
    // Sizes are 64-bit: a compressed size this large allows any declared size.
    if (entry.compressedSize > (UINT64_MAX - kRatioSlack) / kMaxDeflateRatio) return true;
    return entry.uncompressedSize <= entry.compressedSize * kMaxDeflateRatio + kRatioSlack;
}

EntryDecoder::EntryDecoder(size_t bufferSize) : m_in(bufferSize), m_out(bufferSize) {}

DecodeResult EntryDecoder::decode(ZipInput& input, uint64_t dataOffset, const ZipEntry& entry,
                                  std::string_view password, const OutputSink& sink) {
    if (std::string reason = unsupportedReason(entry); !reason.empty())
        return fail(DecodeStatus::Unsupported, reason);
    if (entry.zip64Missing) return fail(DecodeStatus::DataError, kMissingZip64Text);
    if (!declaredSizeIsPlausible(entry))
        return fail(DecodeStatus::DataError,
                    "the declared size cannot come from this compressed data");
    if (!m_inflater.valid()) return fail(DecodeStatus::DataError, "out of memory");
    Source source{input, dataOffset, entry.compressedSize, std::nullopt};
    if (entry.isEncrypted()) {
        if (!passwordMatches(input, dataOffset, entry, password))
            return fail(DecodeStatus::WrongPassword, "wrong password");
        source.crypto.emplace(password);
        unsigned char header[kEncryptionHeaderSize];
        source.fill(header, sizeof header);
    }
    DecodeResult result = entry.method == kMethodStored ? copyStored(source, entry, sink)
                                                        : inflateData(source, entry, sink);
    if (result.status == DecodeStatus::Ok && result.crc != entry.crc32)
        result.status = DecodeStatus::CrcMismatch, result.message = "CRC error";
    return result;
}

DecodeResult EntryDecoder::copyStored(Source& source, const ZipEntry& entry,
                                      const OutputSink& sink) {
    if (source.remaining != entry.uncompressedSize)
        return fail(DecodeStatus::DataError, "the stored sizes disagree");
    DecodeResult result;
    while (source.remaining > 0) {
        const size_t got = source.fill(m_in.data(), m_in.size());
        if (source.truncated)
            return fail(DecodeStatus::Truncated, "the archive ends inside this entry",
                        result.produced);
        result.crc = crc32Update(result.crc, m_in.data(), got);
        result.produced += got;
        if (!sink(m_in.data(), got))
            return fail(DecodeStatus::Cancelled, "cancelled", result.produced);
    }
    return result;
}

DecodeResult EntryDecoder::inflateData(Source& source, const ZipEntry& entry,
                                       const OutputSink& sink) {
    m_inflater.reset();
    DecodeResult result;
    const uint64_t limit = entry.uncompressedSize;
    size_t inPos = 0;
    size_t inAvail = 0;
    for (;;) {
        if (inAvail == 0 && source.remaining > 0) {
            inAvail = source.fill(m_in.data(), m_in.size());
            inPos = 0;
            if (source.truncated && inAvail == 0)
                return fail(DecodeStatus::Truncated, "the archive ends inside this entry",
                            result.produced);
        }
        // One byte of room beyond the declared size reveals data that lies about it.
        const size_t room =
            static_cast<size_t>(std::min<uint64_t>(m_out.size(), limit - result.produced + 1));
        const Inflater::Step step =
            m_inflater.run(m_in.data() + inPos, inAvail, m_out.data(), room);
        inPos += step.consumed;
        inAvail -= step.consumed;
        if (result.produced + step.produced > limit)
            return fail(DecodeStatus::TooLarge, "the data is larger than its declared size",
                        result.produced);
        if (step.produced > 0) {
            result.crc = crc32Update(result.crc, m_out.data(), step.produced);
            result.produced += step.produced;
            if (!sink(m_out.data(), step.produced))
                return fail(DecodeStatus::Cancelled, "cancelled", result.produced);
        }
        if (step.status == Inflater::Status::StreamEnd) break;
        if (step.status == Inflater::Status::DataError)
            return fail(DecodeStatus::DataError, "the compressed data is damaged", result.produced);
        if (step.consumed == 0 && step.produced == 0) {
            if (inAvail == 0 && source.remaining == 0)
                return fail(DecodeStatus::Truncated, "the compressed data ends too early",
                            result.produced);
            if (source.truncated)
                return fail(DecodeStatus::Truncated, "the archive ends inside this entry",
                            result.produced);
            return fail(DecodeStatus::DataError, "the compressed data is damaged", result.produced);
        }
    }
    if (result.produced != limit)
        return fail(DecodeStatus::DataError, "the data is smaller than its declared size",
                    result.produced);
    return result;
}

} // namespace zipcore
