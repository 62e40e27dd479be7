// Archives made to hurt: names that climb out of the folder, links that
// lead out, lying sizes, bombs. Whatever they hold, nothing may appear
// outside the extraction folder, and no temporary file may remain.

#include "UnzDllHarness.h"
#include "ZipBuilder.h"

#include <gtest/gtest.h>

using ziptest::BuildEntry;
using ziptest::buildZip;
namespace fs = std::filesystem;

namespace {

// Everything in the scratch root but the archives and the extraction folder.
std::vector<std::string> strayFiles(const ScratchFolder& scratch) {
    std::vector<std::string> stray;
    for (const std::string& name : scratch.filesUnder(scratch.root()))
        if (name.rfind("out", 0) != 0 && name.find(".zip") == std::string::npos)
            stray.push_back(name);
    return stray;
}

bool hasTemporaryFile(const ScratchFolder& scratch) {
    for (const std::string& name : scratch.filesUnder(scratch.out()))
        if (name.find(".brx-unz-") != std::string::npos) return true;
    return false;
}

std::vector<int> skipKinds(const UnzDllHarness& unz) {
    std::vector<int> kinds;
    for (const CallbackEvent& e : unz.of(BRX_ACTION_SKIPPED)) kinds.push_back(e.size);
    return kinds;
}

} // namespace

TEST(UnzDllHostile, RefusesNamesThatLeaveTheFolder) {
    ScratchFolder scratch;
    std::vector<BuildEntry> entries;
    for (const char* name : {"../evil1", "sub/../../evil2", "/tmp/evil3", "..\\evil4",
                             "sub\\..\\..\\evil5", "C:/evil6", "c:evil7", "\\evil8"})
        entries.push_back({.name = name, .data = "x", .host = 0});
    entries.push_back({.name = "good.txt", .data = "fine"});
    const std::string archive = scratch.write("t.zip", buildZip(entries));
    for (const bool dirNames : {true, false}) {
        UnzDllHarness unz;
        EXPECT_EQ(unz.run({.archive = archive, .dirNames = dirNames, .overwrite = true}), 1);
        EXPECT_EQ(skipKinds(unz), std::vector<int>(8, BRX_SKIP_UNSAFE_PATH));
        EXPECT_TRUE(unz.hasMessage(BRX_MSG_UNSAFE_PATH));
    }
    EXPECT_EQ(scratch.filesUnder(scratch.out()), std::vector<std::string>{"good.txt"});
    EXPECT_TRUE(strayFiles(scratch).empty());
    EXPECT_FALSE(fs::exists("/tmp/evil3"));
}

TEST(UnzDllHostile, NeverWritesThroughSymbolicLinks) {
    ScratchFolder scratch;
    const std::string archive = scratch.write(
        "t.zip", buildZip({{.name = "escape", .data = "..", .method = 0, .unixMode = 0120777},
                           {.name = "escape/evil.txt", .data = "through the link"},
                           {.name = "inside", .data = "sub", .method = 0, .unixMode = 0120777},
                           {.name = "sub/real.txt", .data = "real"},
                           {.name = "inside/again.txt", .data = "through an inside link"},
                           {.name = "abs", .data = "/etc", .method = 0, .unixMode = 0120777}}));
    fs::create_symlink(scratch.root(), scratch.out() / "planted"); // a link already on disk
    const std::string planted =
        scratch.write("t2.zip", buildZip({{.name = "planted/evil2.txt", .data = "x"}}));

    UnzDllHarness unz;
    EXPECT_EQ(unz.run({.archive = archive}),
              3); // escape/evil.txt as a folder, the inside link, sub/real.txt
    EXPECT_FALSE(fs::is_symlink(scratch.out() / "escape"));
    EXPECT_TRUE(fs::is_symlink(scratch.out() / "inside"));
    EXPECT_FALSE(fs::exists(scratch.out() / "sub/again.txt"));
    EXPECT_FALSE(fs::exists(scratch.out() / "abs"));
    EXPECT_TRUE(unz.hasMessage(BRX_MSG_SYMLINK_IN_PATH));
    EXPECT_EQ(unz.run({.archive = planted}), 0);
    EXPECT_FALSE(fs::exists(scratch.root() / "evil2.txt"));
    EXPECT_TRUE(strayFiles(scratch).empty());
}

TEST(UnzDllHostile, FailsDamagedEntriesWithoutOutputBeyondTheirSize) {
    ScratchFolder scratch;
    const std::string big(2 << 20, 'A');
    std::string cut = ziptest::deflateRaw(std::string(100000, 'q') + "tail");
    cut.resize(cut.size() - 5);
    std::vector<BuildEntry> entries{
        {.name = "longer.txt", .data = big, .declaredSize = 1000}, // more data than declared
        {.name = "bomb.bin",
         .data = big,
         .declaredSize = 0xFFFFFFF0u}, // declared size no stream reaches
        {.name = "cut.txt", .data = std::string(100000, 'q') + "tail", .payload = cut},
        {.name = "method.bin", .data = "xyz", .method = 12}, // bzip2: not supported
        {.name = "aes.bin", .data = "xyz", .method = 99, .extraFlags = 1},
        // Saturated without its Zip64 value: damaged.
        {.name = "zip64.bin", .data = "xyz", .declaredCompressed = 0xFFFFFFFFu},
        {.name = "good.txt", .data = "good"},
        {.name = "twin.txt", .data = "good", .localOffset = 0}, // shares bytes with longer.txt
    };
    const std::string archive = scratch.write("t.zip", buildZip(entries));
    UnzDllHarness unz;
    EXPECT_EQ(unz.run({.archive = archive}), 1);
    EXPECT_EQ(scratch.filesUnder(scratch.out()), std::vector<std::string>{"good.txt"});
    EXPECT_EQ(unz.of(BRX_ACTION_SKIPPED).size(), 7u);
    for (int code :
         {BRX_MSG_DAMAGED_ENTRY, BRX_MSG_UNSUPPORTED_METHOD, BRX_MSG_UNSUPPORTED_ENCRYPTION})
        EXPECT_TRUE(unz.hasMessage(code)) << code;
    EXPECT_EQ(unz.run({.archive = archive, .test = true}), 1);
    EXPECT_FALSE(hasTemporaryFile(scratch));
}

TEST(UnzDllHostile, HandlesTruncatedArchivesAtEveryLength) {
    ScratchFolder scratch;
    const std::string whole =
        buildZip({{.name = "a.txt", .data = std::string(5000, 'a')},
                  {.name = "d/", .data = "", .method = 0},
                  {.name = "d/b.txt", .data = "bbbbbbbbbbbbbbbbbb", .method = 0}});
    UnzDllHarness unz;
    for (size_t length = 0; length < whole.size(); length += 7) {
        const std::string archive = scratch.write("cut.zip", whole.substr(0, length));
        EXPECT_EQ(unz.run({.archive = archive, .test = true}), 0) << length;
    }
    EXPECT_FALSE(hasTemporaryFile(scratch));
}

// Another program cuts the archive short while it is being extracted: the
// entries still in it come out, the others are reported, and the process
// lives on (a mapped archive would have been killed by the fault).
TEST(UnzDllHostile, SurvivesTheArchiveShrinkingDuringExtraction) {
    std::vector<BuildEntry> entries;
    for (int i = 0; i < 1500; ++i) // more than the decoders run ahead of the writing
        entries.push_back({.name = "f" + std::to_string(i) + ".txt",
                           .data = std::string(2000, char('a' + i % 26))});
    ScratchFolder scratch;
    const std::string archive = scratch.write("shrinks.zip", buildZip(entries));
    const auto fullSize = fs::file_size(archive);
    UnzDllHarness unz;
    bool cut = false;
    unz.onEvent = [&](const CallbackEvent& e) {
        if (e.action == BRX_ACTION_ITEM_START && !cut) {
            fs::resize_file(archive, fullSize / 4);
            cut = true;
        }
    };
    const int extracted = unz.run({.archive = archive});
    ASSERT_TRUE(cut);
    EXPECT_GT(extracted, 0);
    EXPECT_LT(extracted, 1500);
    EXPECT_FALSE(unz.of(BRX_ACTION_SKIPPED).empty());
    EXPECT_EQ(unz.events.back().action, BRX_ACTION_END);
    EXPECT_EQ(readFile(scratch.out() / "f0.txt"), std::string(2000, 'a'));
    EXPECT_FALSE(hasTemporaryFile(scratch));
}
