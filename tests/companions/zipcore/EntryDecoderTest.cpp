#include "ZipBuilder.h"
#include "zipcore/EntryDecoder.h"
#include "zipcore/ZipReader.h"

#include <gtest/gtest.h>

using namespace zipcore;
using ziptest::BuildEntry;
using ziptest::buildZip;

namespace {

struct Decoded {
    DecodeResult result;
    std::string bytes;
};

Decoded decodeOnly(const BuildEntry& entry, const std::string& password = "") {
    const std::string archive = buildZip({entry});
    MemoryInput input(archive.data(), archive.size());
    ZipDirectory dir;
    EXPECT_TRUE(readDirectory(input, dir).ok);
    const DataLocation location = locateEntryData(input, dir, dir.entries.at(0));
    EXPECT_TRUE(location.ok) << location.error;
    Decoded decoded;
    EntryDecoder decoder(4096);
    decoded.result = decoder.decode(input, location.offset, dir.entries[0], password,
                                    [&](const unsigned char* d, size_t n) {
                                        decoded.bytes.append(reinterpret_cast<const char*>(d), n);
                                        return true;
                                    });
    return decoded;
}

std::string sample() {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += std::to_string(i * 7919 % 1000) + (i % 13 ? " " : "\n");
    return text;
}

} // namespace

TEST(EntryDecoder, DecodesStoredDeflatedAndEncryptedEntries) {
    const std::string text = sample();
    for (const uint16_t method : {uint16_t{0}, uint16_t{8}}) {
        EXPECT_EQ(decodeOnly({.name = "f", .data = text, .method = method}).bytes, text);
        const Decoded secret = decodeOnly(
            {.name = "f", .data = text, .method = method, .password = "s3cret"}, "s3cret");
        EXPECT_EQ(secret.result.status, DecodeStatus::Ok);
        EXPECT_EQ(secret.bytes, text);
    }
    EXPECT_EQ(decodeOnly({.name = "empty", .data = ""}).result.status, DecodeStatus::Ok);
}

TEST(EntryDecoder, RefusesAWrongPasswordBeforeProducingAnything) {
    // A wrong password passes the one-byte check once in 256 tries, so
    // nearly all are refused there, and none may decode.
    int refused = 0;
    for (const char* wrong : {"", "wrong", "s3cret!", "S3cret"}) {
        const Decoded decoded =
            decodeOnly({.name = "f", .data = sample(), .password = "s3cret"}, wrong);
        EXPECT_NE(decoded.result.status, DecodeStatus::Ok);
        refused += decoded.result.status == DecodeStatus::WrongPassword && decoded.bytes.empty();
    }
    EXPECT_GE(refused, 3);
}

TEST(EntryDecoder, ReportsCrcErrors) {
    const Decoded decoded = decodeOnly({.name = "f", .data = sample(), .crc = 0x12345678});
    EXPECT_EQ(decoded.result.status, DecodeStatus::CrcMismatch);
    EXPECT_EQ(decoded.bytes, sample()); // the caller decides what to keep
}

TEST(EntryDecoder, NeverProducesMoreThanTheDeclaredSize) {
    const std::string big(1 << 20, 'z');
    const Decoded lying = decodeOnly({.name = "f", .data = big, .declaredSize = 1000});
    EXPECT_EQ(lying.result.status, DecodeStatus::TooLarge);
    EXPECT_LE(lying.bytes.size(), 1000u);
    // 1 MiB of zeros declared as 4 GiB - 2: no deflate stream expands that far.
    const Decoded bomb = decodeOnly({.name = "f", .data = big, .declaredSize = 0xFFFFFFFEu});
    EXPECT_EQ(bomb.result.status, DecodeStatus::DataError);
    EXPECT_TRUE(bomb.bytes.empty());
    const Decoded shorter = decodeOnly({.name = "f", .data = big, .declaredSize = (1u << 20) + 5});
    EXPECT_EQ(shorter.result.status, DecodeStatus::DataError);
}

TEST(EntryDecoder, FailsCleanlyOnDamagedOrUnsupportedData) {
    const std::string text = sample();
    std::string cut = ziptest::deflateRaw(text);
    cut.resize(cut.size() / 2);
    EXPECT_EQ(decodeOnly({.name = "f", .data = text, .payload = cut}).result.status,
              DecodeStatus::Truncated);
    EXPECT_EQ(
        decodeOnly({.name = "f", .data = text, .payload = std::string(500, '\xff')}).result.status,
        DecodeStatus::DataError);
    EXPECT_EQ(decodeOnly({.name = "f", .data = text, .method = 14}).result.status,
              DecodeStatus::Unsupported);
    EXPECT_EQ(decodeOnly({.name = "f", .data = text, .method = 99}).result.status,
              DecodeStatus::Unsupported);
    EXPECT_EQ(decodeOnly({.name = "f", .data = text, .extraFlags = 0x40}).result.status,
              DecodeStatus::Unsupported);
    // A saturated size without its Zip64 value is damage, refused before any data is read.
    const std::string saturated =
        buildZip({{.name = "f", .data = text, .declaredSize = 0xFFFFFFFFu}});
    MemoryInput input(saturated.data(), saturated.size());
    ZipDirectory dir;
    ASSERT_TRUE(readDirectory(input, dir).ok);
    EXPECT_FALSE(locateEntryData(input, dir, dir.entries.at(0)).ok);
    EntryDecoder decoder(4096);
    EXPECT_EQ(
        decoder
            .decode(input, 0, dir.entries[0], "", [](const unsigned char*, size_t) { return true; })
            .status,
        DecodeStatus::DataError);
}
