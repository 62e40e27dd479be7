// Deleting entries: matching entries go, the others are copied unchanged.
#include "ZipDllHarness.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace zipdlltest;

namespace {

class ZipDllDelete : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dll.loaded());
        previous = fs::current_path();
        fs::current_path(scratch.path());
        scratch.write("d/a.txt", textBytes(5000, 1));
        scratch.write("d/b.log", textBytes(6000, 2));
        scratch.write("d/sub/c.txt", textBytes(7000, 3));
        Command add("del.zip");
        add.spec("d/*.*").password("pw");
        add.record().recurse = -1;
        add.record().encrypt = -1;
        ASSERT_EQ(add.run(dll), 4) << add.messages(); // a.txt, b.log, sub/, sub/c.txt
    }
    void TearDown() override { fs::current_path(previous); }

    Command deleting(const std::string& spec) {
        Command command("del.zip");
        command.spec(spec);
        command.record().deleteEntries = -1;
        command.record().adding = 0;
        return command;
    }

    ZipDll dll;
    Scratch scratch;
    fs::path previous;
};

TEST_F(ZipDllDelete, WildcardDeletesAcrossFoldersAndKeepsTheRestIntact) {
    const std::string rawBefore = readFile("del.zip");
    Command command = deleting("*.txt");
    EXPECT_EQ(command.run(dll), 2) << command.messages();
    EXPECT_EQ(entryNames("del.zip"), (std::vector<std::string>{"d/b.log", "d/sub/"}));
    const auto items = command.of(BRX_ACTION_ITEM_START);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "d/a.txt");
    expectPeersAccept("del.zip", "pw");
    // Kept entries are copied, not recompressed: their encrypted bytes
    // (random header included) are found unchanged in the new archive.
    const std::string after = readFile("del.zip");
    const std::string marker = "d/b.log";
    const size_t oldAt = rawBefore.find(marker);
    const size_t newAt = after.find(marker);
    ASSERT_NE(oldAt, std::string::npos);
    EXPECT_EQ(after.substr(newAt, 200), rawBefore.substr(oldAt, 200));
}

TEST_F(ZipDllDelete, UnknownEntryIsReportedAndNothingChanges) {
    const std::string before = readFile("del.zip");
    Command command = deleting("d/missing.txt");
    EXPECT_EQ(command.run(dll), 0);
    EXPECT_TRUE(command.hasMessage(BRX_MSG_ENTRY_NOT_FOUND)) << command.messages();
    EXPECT_EQ(readFile("del.zip"), before);
}

TEST_F(ZipDllDelete, DeletingEverythingLeavesAnEmptyValidArchive) {
    Command command = deleting("*");
    EXPECT_EQ(command.run(dll), 4);
    EXPECT_TRUE(entryNames("del.zip").empty());
    EXPECT_EQ(fs::file_size("del.zip"), 22u);
}

} // namespace
