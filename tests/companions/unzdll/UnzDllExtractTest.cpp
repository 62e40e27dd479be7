#include "UnzDllHarness.h"
#include "ZipBuilder.h"
#include "zipcore/Crc32.h"
#include "zipcore/ZipRecordWriter.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using ziptest::BuildEntry;
using ziptest::buildZip;
namespace fs = std::filesystem;

namespace {

std::string text(int lines) {
    std::string t;
    for (int i = 0; i < lines; ++i) t += "line " + std::to_string(i * 31 % 977) + "\n";
    return t;
}

const std::vector<BuildEntry> kTree{
    {.name = "readme.txt", .data = text(10)},
    {.name = "src/", .data = "", .method = 0, .unixMode = 040755},
    {.name = "src/main.c", .data = text(5000)},
    {.name = "src/tool.sh", .data = "#!/bin/sh\n", .method = 0, .unixMode = 0104755}, // set-uid
    {.name = "img/big.raw", .data = std::string(3 << 20, '\x07')},
};

time_t modifiedTime(const fs::path& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mtime;
}

// One stored entry of size zero bytes that lie in a hole of the file, so a
// large entry costs no disk space.
std::string writeSparseStoredArchive(const ScratchFolder& scratch, uint32_t size, uint32_t crc) {
    zipcore::WrittenEntry entry;
    entry.name = "zeros.bin";
    entry.compressedSize = entry.uncompressedSize = size;
    entry.crc32 = crc;
    entry.dosDate = 0x5821;
    const std::string path = (scratch.root() / "sparse.zip").string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << zipcore::localHeaderBytes(entry);
    const uint64_t central = zipcore::localHeaderBytes(entry).size() + uint64_t{size};
    out.seekp(static_cast<std::streamoff>(central));
    const std::string directory = zipcore::centralHeaderBytes(entry);
    out << directory
        << zipcore::endRecordBytes(1, static_cast<uint32_t>(directory.size()),
                                   static_cast<uint32_t>(central), {});
    return path;
}

uint32_t crcOfZeros(uint64_t size) {
    const std::string block(1 << 20, '\0');
    uint32_t crc = 0;
    for (uint64_t done = 0; done < size; done += block.size())
        crc = zipcore::crc32Update(
            crc, reinterpret_cast<const unsigned char*>(block.data()),
            static_cast<size_t>(std::min<uint64_t>(block.size(), size - done)));
    return crc;
}

} // namespace

TEST(UnzDll, ExtractsFilesFoldersModesAndDates) {
    UnzDllHarness unz;
    ASSERT_TRUE(unz.loaded());
    EXPECT_EQ(unz.version(), 160);
    ScratchFolder scratch;
    const std::string archive = scratch.write("t.zip", buildZip(kTree));
    EXPECT_EQ(unz.run({.archive = archive}), 5);
    EXPECT_EQ(readFile(scratch.out() / "src/main.c"), text(5000));
    EXPECT_EQ(readFile(scratch.out() / "img/big.raw"), std::string(3 << 20, '\x07'));
    struct stat info {};
    ASSERT_EQ(stat((scratch.out() / "src/tool.sh").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0755u); // set-uid dropped
    struct tm noon2024 {
        0, 0, 12, 1, 0, 124
    };
    noon2024.tm_isdst = -1;
    EXPECT_EQ(modifiedTime(scratch.out() / "readme.txt"), mktime(&noon2024));
    EXPECT_EQ(modifiedTime(scratch.out() / "src"), mktime(&noon2024));

    // Protocol: totals first, one item start per entry, progress, end last.
    ASSERT_FALSE(unz.events.empty());
    EXPECT_EQ(unz.events[0].action, BRX_ACTION_TOTAL_FILES);
    EXPECT_EQ(unz.events[0].size, 5);
    EXPECT_EQ(unz.events[1].action, BRX_ACTION_TOTAL_SIZE);
    EXPECT_EQ(unz.of(BRX_ACTION_ITEM_START).size(), 5u);
    EXPECT_EQ(unz.events.back().action, BRX_ACTION_END);
    int64_t progressed = 0;
    for (const CallbackEvent& e : unz.of(BRX_ACTION_PROGRESS)) {
        EXPECT_LE(e.size, 256 << 10);
        progressed += e.size;
    }
    EXPECT_EQ(progressed, unz.events[1].size);
}

// Files are created with their final bits; those the umask removes, and
// read-only ones, must still come out exactly as stored.
TEST(UnzDll, RestoresModesTheUmaskWouldChangeAndReadOnlyFiles) {
    UnzDllHarness unz;
    ScratchFolder scratch;
    const std::string archive = scratch.write(
        "modes.zip",
        buildZip({{.name = "shared.txt", .data = "rw for all", .method = 0, .unixMode = 0100666},
                  {.name = "locked.txt", .data = text(300), .unixMode = 0100444},
                  {.name = "private.txt", .data = "mine", .method = 0, .unixMode = 0100600}}));
    const mode_t previous = ::umask(027);
    EXPECT_EQ(unz.run({.archive = archive}), 3);
    ::umask(previous);
    const auto modeOf = [&](const char* name) {
        struct stat info {};
        EXPECT_EQ(stat((scratch.out() / name).c_str(), &info), 0) << name;
        return info.st_mode & 07777;
    };
    EXPECT_EQ(modeOf("shared.txt"), 0666u);
    EXPECT_EQ(modeOf("locked.txt"), 0444u);
    EXPECT_EQ(modeOf("private.txt"), 0600u);
    EXPECT_EQ(readFile(scratch.out() / "locked.txt"), text(300));
}

TEST(UnzDll, TestsWithoutWritingAndCountsOnlyGoodEntries) {
    UnzDllHarness unz;
    ScratchFolder scratch;
    std::vector<BuildEntry> entries = kTree;
    entries.push_back({.name = "bad.txt", .data = text(50), .crc = 0xDEADBEEF});
    const std::string archive = scratch.write("t.zip", buildZip(entries));
    EXPECT_EQ(unz.run({.archive = archive, .test = true}), 5);
    EXPECT_TRUE(scratch.filesUnder(scratch.out()).empty());
    EXPECT_TRUE(unz.hasMessage(BRX_MSG_CRC_ERROR));
    ASSERT_EQ(unz.of(BRX_ACTION_SKIPPED).size(), 1u);
    EXPECT_EQ(unz.of(BRX_ACTION_SKIPPED)[0].size, BRX_SKIP_CRC_ERROR);
    EXPECT_TRUE(unz.of(BRX_ACTION_CRC_ERROR).empty()); // nothing to keep when testing
}

TEST(UnzDll, KeepsAFileWithACrcErrorOnlyWhenTheEngineSaysSo) {
    ScratchFolder scratch;
    const std::string archive =
        scratch.write("t.zip", buildZip({{.name = "bad.txt", .data = text(50), .crc = 1}}));
    for (const int reply : {BRX_CRC_REPLY_NO_ANSWER, BRX_CRC_REPLY_DISCARD, BRX_CRC_REPLY_KEEP}) {
        UnzDllHarness unz;
        unz.crcReply = reply;
        EXPECT_EQ(unz.run({.archive = archive, .overwrite = true}), 0);
        ASSERT_EQ(unz.of(BRX_ACTION_CRC_ERROR).size(), 1u);
        EXPECT_EQ(static_cast<uint32_t>(unz.of(BRX_ACTION_CRC_ERROR)[0].size), 1u); // expected CRC
        EXPECT_EQ(fs::exists(scratch.out() / "bad.txt"), reply == BRX_CRC_REPLY_KEEP) << reply;
    }
}

TEST(UnzDll, SelectsEntriesByPatternAndFlattensPaths) {
    UnzDllHarness unz;
    ScratchFolder scratch;
    const std::string archive = scratch.write("t.zip", buildZip(kTree));
    EXPECT_EQ(
        unz.run(
            {.archive = archive, .specs = {"src\\*.*", "*.txt", "nothing*"}, .dirNames = false}),
        4);
    EXPECT_EQ(scratch.filesUnder(scratch.out()),
              (std::vector<std::string>{"main.c", "readme.txt", "tool.sh"}));
    ASSERT_TRUE(unz.hasMessage(BRX_MSG_NO_MATCHING_ENTRY));
}

TEST(UnzDll, AsksBeforeOverwritingAndHonoursUpdateAndFreshen) {
    ScratchFolder scratch;
    const std::string archive = scratch.write(
        "t.zip", buildZip({{.name = "a.txt", .data = "new"}, {.name = "b.txt", .data = "new"}}));
    std::ofstream(scratch.out() / "a.txt") << "old";
    {
        UnzDllHarness unz; // default answer: no
        EXPECT_EQ(unz.run({.archive = archive}), 1);
        ASSERT_EQ(unz.of(BRX_ACTION_OVERWRITE).size(), 1u);
        EXPECT_EQ(unz.of(BRX_ACTION_OVERWRITE)[0].text, "a.txt");
        EXPECT_EQ(unz.of(BRX_ACTION_OVERWRITE)[0].code & BRX_OVERWRITE_IS_OLDER_BIT,
                  0); // file from now, entry 2024
        EXPECT_EQ(readFile(scratch.out() / "a.txt"), "old");
        EXPECT_EQ(unz.of(BRX_ACTION_SKIPPED).at(0).size, BRX_SKIP_NO_OVERWRITE);
    }
    {
        UnzDllHarness unz;
        unz.overwriteAnswer = BRX_OVERWRITE_REPLY_YES;
        EXPECT_EQ(unz.run({.archive = archive}), 2);
        EXPECT_EQ(readFile(scratch.out() / "a.txt"), "new");
    }
    // Existing files are newer than the entries: update and freshen keep them.
    fs::remove(scratch.out() / "b.txt");
    std::ofstream(scratch.out() / "a.txt") << "mine";
    {
        UnzDllHarness unz;
        EXPECT_EQ(unz.run({.archive = archive, .freshen = true}), 0);
        EXPECT_FALSE(fs::exists(scratch.out() / "b.txt"));
        EXPECT_EQ(unz.run({.archive = archive, .update = true}), 1);
        EXPECT_EQ(readFile(scratch.out() / "b.txt"), "new");
        EXPECT_EQ(readFile(scratch.out() / "a.txt"), "mine");
        EXPECT_TRUE(unz.of(BRX_ACTION_OVERWRITE).empty());
    }
    {
        UnzDllHarness unz;
        EXPECT_EQ(unz.run({.archive = archive, .overwrite = true}), 2);
        EXPECT_EQ(readFile(scratch.out() / "a.txt"), "new");
        EXPECT_TRUE(unz.of(BRX_ACTION_OVERWRITE).empty());
    }
}

TEST(UnzDll, AsksForMissingOrWrongPasswordsAndNeverWritesGarbage) {
    ScratchFolder scratch;
    const std::string archive = scratch.write(
        "t.zip", buildZip({{.name = "one.txt", .data = text(300), .password = "right"},
                           {.name = "two.txt", .data = text(20), .method = 0, .password = "right"},
                           {.name = "plain.txt", .data = "plain"}}));
    {
        UnzDllHarness unz; // given in the record
        EXPECT_EQ(unz.run({.archive = archive, .password = "right"}), 3);
        EXPECT_EQ(readFile(scratch.out() / "one.txt"), text(300));
        EXPECT_TRUE(unz.of(BRX_ACTION_PASSWORD).empty());
    }
    fs::remove_all(scratch.out() / "one.txt"), fs::remove_all(scratch.out() / "two.txt");
    {
        UnzDllHarness unz; // asked: wrong, then right; remembered for the next entry
        unz.passwordAnswers = {"wrong", "right"};
        EXPECT_EQ(unz.run({.archive = archive, .overwrite = true, .passwordRequests = 3}), 3);
        ASSERT_EQ(unz.of(BRX_ACTION_PASSWORD).size(), 2u);
        EXPECT_EQ(unz.of(BRX_ACTION_PASSWORD)[0].text, "one.txt");
        EXPECT_EQ(unz.of(BRX_ACTION_PASSWORD)[0].size, 3);
        EXPECT_EQ(readFile(scratch.out() / "two.txt"), text(20));
    }
    fs::remove_all(scratch.out() / "one.txt"), fs::remove_all(scratch.out() / "two.txt");
    {
        UnzDllHarness unz; // only wrong answers: each entry asks its quota, fails, writes nothing
        unz.passwordAnswers = {"bad1", "bad2", "bad3", "bad4"};
        EXPECT_EQ(unz.run({.archive = archive, .overwrite = true, .passwordRequests = 2}), 1);
        EXPECT_EQ(unz.of(BRX_ACTION_PASSWORD).size(), 4u);
        EXPECT_EQ(unz.of(BRX_ACTION_SKIPPED).size(), 2u);
        EXPECT_EQ(unz.of(BRX_ACTION_SKIPPED)[0].size, BRX_SKIP_BAD_PASSWORD);
        EXPECT_EQ(scratch.filesUnder(scratch.out()), std::vector<std::string>{"plain.txt"});
    }
    {
        UnzDllHarness unz; // no password and none may be asked (unattended)
        EXPECT_EQ(unz.run({.archive = archive, .test = true}), 1);
        EXPECT_TRUE(unz.of(BRX_ACTION_PASSWORD).empty());
        EXPECT_TRUE(unz.hasMessage(BRX_MSG_BAD_PASSWORD));
    }
}

TEST(UnzDll, StopsWhenTheCallbackSaysSoAndLeavesNoTemporaryFile) {
    ScratchFolder scratch;
    const std::string archive =
        scratch.write("t.zip", buildZip({{.name = "first.txt", .data = text(10)},
                                         {.name = "big.raw", .data = std::string(8 << 20, 'x')},
                                         {.name = "last.txt", .data = text(10)}}));
    UnzDllHarness unz;
    unz.stopOnAction = BRX_ACTION_PROGRESS;
    EXPECT_LE(unz.run({.archive = archive}), 1);
    EXPECT_TRUE(unz.hasMessage(BRX_MSG_CANCELLED));
    EXPECT_EQ(unz.of(BRX_ACTION_PROGRESS).size(), 1u);
    for (const std::string& name : scratch.filesUnder(scratch.out())) EXPECT_EQ(name, "first.txt");
    EXPECT_EQ(unz.events.back().action, BRX_ACTION_END);
}

TEST(UnzDll, RunsCommandsInARowAndSurvivesReloading) {
    ScratchFolder scratch;
    const std::string archive = scratch.write("t.zip", buildZip(kTree));
    for (int round = 0; round < 3; ++round) {
        UnzDllHarness unz;
        EXPECT_EQ(unz.run({.archive = archive, .test = true}), 5);
        EXPECT_EQ(unz.run({.archive = archive, .overwrite = true}), 5);
    }
    UnzDllHarness unz;
    EXPECT_EQ(unz.run({.archive = scratch.write("missing/none.zip", "")}), 0);
    EXPECT_TRUE(unz.hasMessage(BRX_MSG_ARCHIVE_OPEN_FAILED));
    EXPECT_EQ(unz.run({.archive = scratch.write("junk.zip", std::string(1000, 'j'))}), 0);
    EXPECT_TRUE(unz.hasMessage(BRX_MSG_DAMAGED_ARCHIVE));
}

// Entries larger than the library decodes in memory (128 MiB) are streamed;
// zeros keep the archive small.
TEST(UnzDll, StreamsEntriesTooLargeForMemory) {
    ScratchFolder scratch;
    const size_t size = (128u << 20) + 4096;
    const std::string archive =
        scratch.write("t.zip", buildZip({{.name = "huge.bin", .data = std::string(size, '\0')},
                                         {.name = "after.txt", .data = "after"}}));
    UnzDllHarness unz;
    EXPECT_EQ(unz.run({.archive = archive, .test = true}), 2);
    EXPECT_GE(unz.of(BRX_ACTION_PROGRESS).size(), size / (256 << 10));
    EXPECT_EQ(unz.run({.archive = archive}), 2);
    EXPECT_EQ(fs::file_size(scratch.out() / "huge.bin"), size);
    EXPECT_EQ(readFile(scratch.out() / "after.txt"), "after");
    EXPECT_EQ(scratch.filesUnder(scratch.out()).size(), 2u); // no temporary file left
}

// Entries past the in-memory limit are decoded as a stream; a stored one
// must still have its CRC checked there.
TEST(UnzDll, StreamedStoredEntryWithABadCrcIsRefused) {
    ScratchFolder scratch;
    const uint32_t size = (128u << 20) + 4096;
    const uint32_t crc = crcOfZeros(size);
    UnzDllHarness unz;
    EXPECT_EQ(unz.run({.archive = writeSparseStoredArchive(scratch, size, crc), .test = true}), 1);
    EXPECT_FALSE(unz.hasMessage(BRX_MSG_CRC_ERROR));

    unz.events.clear();
    EXPECT_EQ(unz.run({.archive = writeSparseStoredArchive(scratch, size, crc ^ 1), .test = true}),
              0);
    EXPECT_TRUE(unz.hasMessage(BRX_MSG_CRC_ERROR));
    const std::vector<CallbackEvent> skipped = unz.of(BRX_ACTION_SKIPPED);
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].size, BRX_SKIP_CRC_ERROR);
}

TEST(UnzDll, ReportsSizesOver2GiBWhole) {
    ScratchFolder scratch;
    const uint32_t size = 3u << 30;
    UnzDllHarness unz;
    unz.stopOnAction = BRX_ACTION_PROGRESS;
    unz.run({.archive = writeSparseStoredArchive(scratch, size, 0), .test = true});
    const std::vector<CallbackEvent> totals = unz.of(BRX_ACTION_TOTAL_SIZE);
    const std::vector<CallbackEvent> items = unz.of(BRX_ACTION_ITEM_START);
    ASSERT_EQ(totals.size(), 1u);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(totals[0].wideSize, int64_t{size});
    EXPECT_EQ(items[0].wideSize, int64_t{size});
    EXPECT_EQ(items[0].size, INT32_MAX); // capped, never negative, for readers of the fixed part
    EXPECT_TRUE(unz.hasMessage(BRX_MSG_CANCELLED));
}

// Without their folders, a/x.txt, b/x.txt and x.txt all land on x.txt: the
// later ones meet the earlier one as an existing file, by the same rules.
TEST(UnzDll, ANameRepeatedInOneExtractionMeetsTheOverwriteRules) {
    ScratchFolder scratch;
    const std::string archive =
        scratch.write("t.zip", buildZip({{.name = "a/x.txt", .data = "first"},
                                         {.name = "b/x.txt", .data = "second"},
                                         {.name = "x.txt", .data = "third"}}));
    const UnzCommand flat{.archive = archive, .dirNames = false};
    {
        UnzDllHarness unz; // default answer: no
        EXPECT_EQ(unz.run(flat), 1);
        EXPECT_EQ(readFile(scratch.out() / "x.txt"), "first");
        const std::vector<CallbackEvent> asked = unz.of(BRX_ACTION_OVERWRITE);
        ASSERT_EQ(asked.size(), 2u);
        EXPECT_EQ(asked[0].text, "b/x.txt");
        EXPECT_EQ(asked[1].text, "x.txt");
        const std::vector<CallbackEvent> skipped = unz.of(BRX_ACTION_SKIPPED);
        ASSERT_EQ(skipped.size(), 2u);
        EXPECT_EQ(skipped[0].size, BRX_SKIP_NO_OVERWRITE);
    }
    fs::remove(scratch.out() / "x.txt");
    {
        UnzDllHarness unz;
        unz.overwriteAnswer = BRX_OVERWRITE_REPLY_YES;
        EXPECT_EQ(unz.run(flat), 3);
        EXPECT_EQ(readFile(scratch.out() / "x.txt"), "third");
        EXPECT_EQ(unz.of(BRX_ACTION_OVERWRITE).size(), 2u);
    }
    fs::remove(scratch.out() / "x.txt");
    {
        UnzDllHarness unz; // overwrite without asking, but say so
        UnzCommand overwrite = flat;
        overwrite.overwrite = true;
        EXPECT_EQ(unz.run(overwrite), 3);
        EXPECT_EQ(readFile(scratch.out() / "x.txt"), "third");
        EXPECT_TRUE(unz.of(BRX_ACTION_OVERWRITE).empty());
        int replaced = 0;
        for (const CallbackEvent& e : unz.of(BRX_ACTION_MESSAGE))
            replaced += e.code == BRX_MSG_INFO && e.text.find("x.txt: ") == 0;
        EXPECT_EQ(replaced, 2);
    }
    EXPECT_EQ(scratch.filesUnder(scratch.out()), std::vector<std::string>{"x.txt"});
}
