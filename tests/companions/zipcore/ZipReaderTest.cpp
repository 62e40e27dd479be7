#include "ZipBuilder.h"
#include "zipcore/EntryDecoder.h"
#include "zipcore/ZipReader.h"

#include <gtest/gtest.h>

using namespace zipcore;
using ziptest::BuildEntry;
using ziptest::BuildOptions;
using ziptest::buildZip;

namespace {

DirectoryResult readAll(const std::string& archive, ZipDirectory& dir) {
    MemoryInput input(archive.data(), archive.size());
    return readDirectory(input, dir);
}

std::string decodeEntry(const std::string& archive, const ZipDirectory& dir, size_t index,
                        DecodeStatus& status) {
    MemoryInput input(archive.data(), archive.size());
    std::string out;
    const DataLocation location = locateEntryData(input, dir, dir.entries[index]);
    if (!location.ok) {
        status = DecodeStatus::DataError;
        return out;
    }
    EntryDecoder decoder(64);
    status = decoder
                 .decode(input, location.offset, dir.entries[index], "",
                         [&](const unsigned char* d, size_t n) {
                             out.append(reinterpret_cast<const char*>(d), n);
                             return true;
                         })
                 .status;
    return out;
}

const std::vector<BuildEntry> kTwoFiles{
    {.name = "a.txt", .data = "alpha alpha alpha"},
    {.name = "dir/b.bin", .data = std::string(1000, 'b'), .method = 0}};

} // namespace

TEST(ZipReader, ReadsEntriesCommentAndData) {
    const std::string archive = buildZip(kTwoFiles, {.comment = "the comment"});
    ZipDirectory dir;
    ASSERT_TRUE(readAll(archive, dir).ok);
    ASSERT_EQ(dir.entries.size(), 2u);
    EXPECT_EQ(dir.entries[1].name, "dir/b.bin");
    EXPECT_EQ(dir.entries[1].uncompressedSize, 1000u);
    EXPECT_EQ(dir.comment, "the comment");
    EXPECT_EQ(dir.offsetShift(), 0);
    EXPECT_FALSE(dir.garbageAfterEnd);
    DecodeStatus status;
    EXPECT_EQ(decodeEntry(archive, dir, 0, status), "alpha alpha alpha");
    EXPECT_EQ(status, DecodeStatus::Ok);
}

TEST(ZipReader, FindsEntriesBehindAPrefixWithOrWithoutRebasedOffsets) {
    const std::string stub(5000, 'M');
    for (const bool rebase : {true, false}) {
        const std::string archive = buildZip(kTwoFiles, {.prefix = stub, .rebase = rebase});
        ZipDirectory dir;
        ASSERT_TRUE(readAll(archive, dir).ok) << rebase;
        EXPECT_EQ(dir.offsetShift(), rebase ? 0 : 5000);
        DecodeStatus status;
        EXPECT_EQ(decodeEntry(archive, dir, 1, status), std::string(1000, 'b'));
        EXPECT_EQ(status, DecodeStatus::Ok);
    }
}

TEST(ZipReader, ToleratesTrailingGarbageAndALongComment) {
    ZipDirectory dir;
    ASSERT_TRUE(readAll(buildZip(kTwoFiles, {.trailing = "GARBAGE"}), dir).ok);
    EXPECT_TRUE(dir.garbageAfterEnd);
    ASSERT_TRUE(readAll(buildZip(kTwoFiles, {.comment = std::string(65535, 'c')}), dir).ok);
    EXPECT_EQ(dir.comment.size(), 65535u);
    // An end record further than 65,557 bytes from the end is not searched for.
    EXPECT_FALSE(readAll(buildZip(kTwoFiles, {.trailing = std::string(70000, 'x')}), dir).ok);
}

TEST(ZipReader, RefusesWhatItCannotRead) {
    ZipDirectory dir;
    EXPECT_FALSE(readAll("PK\5\6", dir).ok);
    EXPECT_FALSE(readAll(std::string(100, '\0'), dir).ok);
    const DirectoryResult zip64 = readAll(buildZip(kTwoFiles, {.zip64Locator = true}), dir);
    EXPECT_FALSE(zip64.ok);
    EXPECT_NE(zip64.error.find("Zip64"), std::string::npos);
    ZipDirectory empty;
    EXPECT_TRUE(readAll(buildZip({}), empty).ok);
    EXPECT_TRUE(empty.entries.empty());
}

TEST(ZipReader, MarksEntriesSharingTheirData) {
    std::vector<BuildEntry> entries = kTwoFiles;
    entries.push_back({.name = "A.txt", .data = "alpha alpha alpha", .localOffset = 0});
    ZipDirectory dir;
    ASSERT_TRUE(readAll(buildZip(entries), dir).ok);
    // "A.txt" points at the header of "a.txt": its offset is the bad one,
    // "a.txt" keeps its data.
    EXPECT_FALSE(dir.entries[0].overlapsAnother);
    EXPECT_TRUE(dir.entries[2].overlapsAnother);
    EXPECT_FALSE(dir.entries[1].overlapsAnother);

    // Data that runs over the next entry's genuine header: that entry's data
    // is the bad one.
    entries = kTwoFiles;
    entries[0].method = 0;
    entries[0].declaredCompressed = 60;
    ASSERT_TRUE(readAll(buildZip(entries), dir).ok);
    EXPECT_TRUE(dir.entries[0].overlapsAnother);
    EXPECT_FALSE(dir.entries[1].overlapsAnother);
}

// The next header starts 3 bytes before the end of the data, which is less
// than the first entry's name is long: still an overlap.
TEST(ZipReader, MarksAnOverlapShorterThanTheEntryName) {
    const std::string name = "a-rather-long-name.txt";
    const std::string data(100, 'd');
    std::vector<BuildEntry> entries{{.name = name, .data = data, .method = 0},
                                    {.name = "b", .data = "b", .method = 0}};
    entries[1].localOffset = static_cast<uint32_t>(30 + name.size() + data.size() - 3);
    ZipDirectory dir;
    ASSERT_TRUE(readAll(buildZip(entries), dir).ok);
    EXPECT_TRUE(dir.entries[0].overlapsAnother);
    EXPECT_TRUE(dir.entries[1].overlapsAnother);
    entries[1].localOffset = static_cast<uint32_t>(30 + name.size() + data.size());
    ASSERT_TRUE(readAll(buildZip(entries), dir).ok);
    EXPECT_FALSE(dir.entries[0].overlapsAnother);
}

TEST(ZipReader, RejectsLocalHeadersThatLie) {
    std::vector<BuildEntry> entries = kTwoFiles;
    entries[1].localOffset = 7; // points into the first entry
    const std::string archive = buildZip(entries);
    ZipDirectory dir;
    ASSERT_TRUE(readAll(archive, dir).ok);
    MemoryInput input(archive.data(), archive.size());
    EXPECT_FALSE(locateEntryData(input, dir, dir.entries[1]).ok);

    entries = kTwoFiles;
    entries[0].declaredCompressed = 1u << 30; // data would run through the directory
    const std::string lying = buildZip(entries);
    ASSERT_TRUE(readAll(lying, dir).ok);
    MemoryInput lyingInput(lying.data(), lying.size());
    EXPECT_FALSE(locateEntryData(lyingInput, dir, dir.entries[0]).ok);
}

// Every truncation and many single-byte corruptions of a small archive:
// the reader and decoder must fail cleanly, never read or write out of
// bounds (checked by the sanitizers) and never produce more than declared.
TEST(ZipReader, SurvivesTruncationAndCorruption) {
    std::vector<BuildEntry> entries = kTwoFiles;
    entries.push_back({.name = "secret", .data = std::string(300, 's'), .password = "pw"});
    const std::string archive = buildZip(entries, {.comment = "c"});
    auto exercise = [](const std::string& bytes) {
        ZipDirectory dir;
        MemoryInput input(bytes.data(), bytes.size());
        if (!readDirectory(input, dir).ok) return;
        for (const ZipEntry& entry : dir.entries) {
            const DataLocation location = locateEntryData(input, dir, entry);
            if (!location.ok) continue;
            EntryDecoder decoder(32);
            uint64_t produced = 0;
            decoder.decode(input, location.offset, entry, "pw",
                           [&](const unsigned char*, size_t n) {
                               produced += n;
                               return true;
                           });
            ASSERT_LE(produced, entry.uncompressedSize);
        }
    };
    for (size_t length = 0; length < archive.size(); ++length) exercise(archive.substr(0, length));
    uint32_t seed = 12345;
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = archive;
        seed = seed * 1103515245u + 12345u;
        damaged[(seed >> 8) % damaged.size()] ^= static_cast<char>(1u << ((seed >> 4) % 8));
        exercise(damaged);
    }
}
