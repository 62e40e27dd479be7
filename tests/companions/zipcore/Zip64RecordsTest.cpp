// Zip64 records in the format layer: which fields the Zip64 field holds,
// how saturated values are read and written back, and the Zip64 end record
// with its locator, sound, contradicting or cut short.

#include "ZipBuilder.h"
#include "zipcore/ByteOrder.h"
#include "zipcore/CentralDirectory.h"
#include "zipcore/DirectoryEnd.h"
#include "zipcore/Zip64Extra.h"
#include "zipcore/ZipFormat.h"
#include "zipcore/ZipReader.h"
#include "zipcore/ZipRecordWriter.h"

#include <gtest/gtest.h>

using namespace zipcore;
using ziptest::BuildEntry;
using ziptest::buildZip;

namespace {

constexpr uint64_t k5GiB = uint64_t(5) << 30;

std::string zip64Block(const std::string& data) {
    std::string out;
    append16(out, kExtraZip64);
    append16(out, static_cast<uint16_t>(data.size()));
    return out + data;
}

std::string u64(uint64_t v) {
    std::string out;
    append64(out, v);
    return out;
}

DirectoryResult readAll(const std::string& archive, ZipDirectory& dir) {
    MemoryInput input(archive.data(), archive.size());
    return readDirectory(input, dir);
}

std::vector<BuildEntry> zip64Entries() {
    return {{.name = "a.txt", .data = "alpha", .zip64 = true},
            {.name = "b.txt", .data = std::string(300, 'b'), .method = 0, .zip64 = true}};
}

} // namespace

TEST(Zip64Extra, HoldsOnlyTheSaturatedFieldsInTheirOrder) {
    // Compressed size and disk saturated: 8 + 4 bytes, compressed size first.
    const std::string extra = zip64Block(u64(k5GiB) + std::string("\x07\0\0\0", 4));
    Zip64Values values;
    ASSERT_TRUE(readZip64Extra(extra, kZip64Compressed | kZip64Disk, values));
    EXPECT_EQ(values.compressedSize, k5GiB);
    EXPECT_EQ(values.diskStart, 7u);
    EXPECT_EQ(values.uncompressedSize, 0u);
    // Asking for a field more than it holds: refused, not read past its end.
    EXPECT_FALSE(readZip64Extra(extra, kZip64Uncompressed | kZip64Compressed | kZip64Disk, values));
    EXPECT_FALSE(readZip64Extra(std::string("\x01\0\x10\0abc", 7), kZip64Compressed, values));
    EXPECT_EQ(withZip64Extra({}, kZip64Offset | kZip64Uncompressed, Zip64Values{1, 2, 3, 0}),
              zip64Block(u64(1) + u64(3)));
}

TEST(Zip64Extra, RewritesInPlaceAndKeepsOtherFields) {
    const std::string other = std::string("\x55\x54\x05\0", 4) + "\x03zzzz";
    // A Zip64 field with room for more than asked keeps its length and tail.
    const std::string roomy = other + zip64Block(u64(1) + u64(2) + "TAIL");
    const std::string rewritten = withZip64Extra(roomy, kZip64Uncompressed, {9, 0, 0, 0});
    EXPECT_EQ(rewritten, other + zip64Block(u64(9) + u64(2) + "TAIL"));
    // One too short for the new fields is replaced where it stood.
    const std::string shortOne = zip64Block(u64(1)) + other;
    EXPECT_EQ(withZip64Extra(shortOne, kZip64Uncompressed | kZip64Offset, {1, 0, k5GiB, 0}),
              zip64Block(u64(1) + u64(k5GiB)) + other);
    EXPECT_EQ(withZip64Extra(other, 0, {}), other);
}

TEST(Zip64Central, ReadsSaturatedFieldsAndWritesTheSameBytesBack) {
    ZipEntry written;
    written.name = "big.bin";
    written.uncompressedSize = k5GiB;
    written.compressedSize = 1000;
    written.localHeaderOffset = k5GiB + 10;
    const std::string header = serializeCentralHeader(written);
    const auto* bytes = reinterpret_cast<const unsigned char*>(header.data());
    EXPECT_EQ(le32(bytes + 20), 1000u);       // fits: stays in the header
    EXPECT_EQ(le32(bytes + 24), 0xFFFFFFFFu); // uncompressed size saturated
    EXPECT_EQ(le32(bytes + 42), 0xFFFFFFFFu); // offset saturated
    EXPECT_EQ(le16(bytes + 30), 4u + 16u);    // just those two in the Zip64 field

    ByteCursor cursor(bytes, header.size());
    ZipEntry read;
    ASSERT_EQ(readCentralHeader(cursor, read), CentralError::None);
    EXPECT_FALSE(read.zip64Missing);
    EXPECT_EQ(read.uncompressedSize, k5GiB);
    EXPECT_EQ(read.compressedSize, 1000u);
    EXPECT_EQ(read.localHeaderOffset, k5GiB + 10);
    EXPECT_EQ(serializeCentralHeader(read), header);

    // Moved below 4 GiB (a prefix taken away), the field stays as it was
    // read, saturated, so that its header changes only in the value.
    std::string shifted;
    ASSERT_TRUE(shiftedCentralDirectory({read}, -int64_t(k5GiB), shifted));
    ByteCursor again(reinterpret_cast<const unsigned char*>(shifted.data()), shifted.size());
    ZipEntry back;
    ASSERT_EQ(readCentralHeader(again, back), CentralError::None);
    EXPECT_EQ(back.localHeaderOffset, 10u);
    EXPECT_EQ(shifted.size(), header.size());
}

TEST(Zip64Central, SaturatedFieldWithoutItsValueMarksOnlyThatEntry) {
    std::vector<BuildEntry> entries = zip64Entries();
    entries[0].zip64Missing = true;
    const std::string archive = buildZip(entries);
    ZipDirectory dir;
    ASSERT_TRUE(readAll(archive, dir).ok);
    ASSERT_EQ(dir.entries.size(), 2u);
    EXPECT_TRUE(dir.entries[0].zip64Missing);
    MemoryInput input(archive.data(), archive.size());
    const DataLocation bad = locateEntryData(input, dir, dir.entries[0]);
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.error.find("Zip64"), std::string::npos);
    EXPECT_TRUE(locateEntryData(input, dir, dir.entries[1]).ok);
}

TEST(Zip64Local, SizesMustAgreeWithTheCentralDirectory) {
    std::vector<BuildEntry> entries = zip64Entries();
    entries[1].localZip64Size = 301;
    const std::string archive = buildZip(entries);
    ZipDirectory dir;
    ASSERT_TRUE(readAll(archive, dir).ok);
    MemoryInput input(archive.data(), archive.size());
    const DataLocation good = locateEntryData(input, dir, dir.entries[0]);
    EXPECT_TRUE(good.ok);
    EXPECT_TRUE(good.localZip64);
    const DataLocation lying = locateEntryData(input, dir, dir.entries[1]);
    EXPECT_FALSE(lying.ok);
    EXPECT_NE(lying.error.find("disagrees"), std::string::npos);
}

TEST(Zip64Local, DataDescriptorAfterAZip64HeaderHasEightByteSizes) {
    std::vector<BuildEntry> entries = zip64Entries();
    entries[0].dataDescriptor = true;
    const std::string archive = buildZip(entries, {.zip64End = true});
    ZipDirectory dir;
    ASSERT_TRUE(readAll(archive, dir).ok);
    MemoryInput input(archive.data(), archive.size());
    const DataLocation location = locateEntryData(input, dir, dir.entries[0]);
    ASSERT_TRUE(location.ok);
    uint64_t end = 0;
    ASSERT_TRUE(entryRecordEnd(input, dir, dir.entries[0], location, end));
    EXPECT_EQ(end, location.offset + dir.entries[0].compressedSize + 24);
    EXPECT_EQ(end, dir.entries[1].localHeaderOffset);
}

TEST(Zip64End, CountSizeAndOffsetComeFromTheZip64Record) {
    const std::string archive = buildZip(zip64Entries(), {.zip64End = true});
    ZipDirectory dir;
    const DirectoryResult result = readAll(archive, dir);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(dir.zip64);
    EXPECT_EQ(dir.entries.size(), 2u);
    EXPECT_EQ(dir.entries[1].uncompressedSize, 300u);
    EXPECT_EQ(dir.offsetShift(), 0);
}

TEST(Zip64End, ContradictionsAndCutsAreRefusedWithAMessage) {
    const std::vector<BuildEntry> entries = zip64Entries();
    ZipDirectory dir;
    const DirectoryResult conflict =
        readAll(buildZip(entries, {.zip64End = true, .classicCentralSize = 1}), dir);
    EXPECT_FALSE(conflict.ok);
    EXPECT_NE(conflict.error.find("disagree"), std::string::npos);
    const DirectoryResult outside =
        readAll(buildZip(entries, {.zip64End = true, .zip64EndOffset = uint64_t(1) << 40}), dir);
    EXPECT_FALSE(outside.ok);
    EXPECT_NE(outside.error.find("outside the file"), std::string::npos);
    // A Zip64 count is exact: no wrapping modulo 65,536 forgives it.
    EXPECT_FALSE(readAll(buildZip(entries, {.zip64End = true, .zip64Count = 65538}), dir).ok);
    // Every cut through the Zip64 end record and locator is refused, never read past.
    const std::string whole = buildZip(entries, {.zip64End = true});
    const size_t records = whole.size() - kEndOfCentralSize - kZip64LocatorSize - kZip64EndSize;
    for (size_t cut = 1; cut < kZip64LocatorSize + kZip64EndSize; ++cut) {
        SCOPED_TRACE(cut);
        const std::string damaged =
            whole.substr(0, records) + whole.substr(records + cut, whole.size() - records - cut);
        EXPECT_FALSE(readAll(damaged, dir).ok);
    }
}

TEST(Zip64End, WrittenOnlyPastTheClassicLimits) {
    EXPECT_EQ(endRecordBytes(65535, 100, 200, "c").size(), kEndOfCentralSize + 1);
    EXPECT_EQ(endRecordBytes(10, 100, 0xFFFFFFFEu, "").size(), kEndOfCentralSize);
    const std::string wide = endRecordBytes(70000, 100, k5GiB, "");
    ASSERT_EQ(wide.size(), kZip64EndSize + kZip64LocatorSize + kEndOfCentralSize);
    // Read back through the end-record search, as every reader does; the
    // directory is taken to end where the Zip64 record starts.
    const std::string file = std::string(16, 'x') + wide;
    MemoryInput input(file.data(), file.size());
    const EndSearch search = findEndRecord(input);
    ASSERT_TRUE(search.found());
    EXPECT_EQ(search.location.record.totalEntries, 0xFFFFu);
    EXPECT_EQ(search.location.record.centralOffset, 0xFFFFFFFFu);
    EXPECT_EQ(search.location.record.centralSize, 100u); // fits: kept, not saturated
    Zip64EndRecord record;
    ASSERT_TRUE(parseZip64EndRecord(reinterpret_cast<const unsigned char*>(wide.data()),
                                    wide.size(), record));
    EXPECT_EQ(record.totalEntries, 70000u);
    EXPECT_EQ(record.centralOffset, k5GiB);
    Zip64Locator locator;
    ASSERT_TRUE(
        parseZip64Locator(reinterpret_cast<const unsigned char*>(wide.data()) + kZip64EndSize,
                          kZip64LocatorSize, locator));
    EXPECT_EQ(locator.endOffset, k5GiB + 100);
}

TEST(Zip64Writer, LocalHeaderCarriesBothSizesAndCentralRaisesTheVersion) {
    WrittenEntry entry;
    entry.name = "big";
    entry.versionNeeded = 20;
    entry.localZip64 = true;
    entry.uncompressedSize = k5GiB;
    entry.compressedSize = 12;
    const std::string local = localHeaderBytes(entry);
    const auto* l = reinterpret_cast<const unsigned char*>(local.data());
    EXPECT_EQ(le32(l + 18), 0xFFFFFFFFu);
    EXPECT_EQ(le32(l + 22), 0xFFFFFFFFu);
    EXPECT_EQ(local.substr(localZip64SizesOffset(entry), 16), localZip64SizesBytes(entry));
    EXPECT_EQ(localZip64SizesBytes(entry), u64(k5GiB) + u64(12));
    const std::string central = centralHeaderBytes(entry);
    EXPECT_EQ(le16(reinterpret_cast<const unsigned char*>(central.data()) + 6), kVersionZip64);
    // A small entry copied from an archive is written back unchanged.
    entry = WrittenEntry{};
    entry.name = "small";
    entry.versionNeeded = 20;
    entry.compressedSize = entry.uncompressedSize = 5;
    EXPECT_EQ(le16(reinterpret_cast<const unsigned char*>(centralHeaderBytes(entry).data()) + 6),
              20u);
    EXPECT_EQ(localHeaderBytes(entry).size(), kLocalHeaderSize + 5);
}
