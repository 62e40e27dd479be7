// Adding files: what ends up in the archive, under which names, and what
// the callback hears.
#include "ZipDllHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace zipdlltest;

namespace {

class ZipDllAdd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dll.loaded());
        previous = fs::current_path();
        fs::current_path(scratch.path());
    }
    void TearDown() override { fs::current_path(previous); }

    void makeTree() const {
        scratch.write("src/readme.txt", textBytes(20000, 1));
        scratch.write("src/data.bin", randomBytes(300000, 2));
        scratch.write("src/big.log", textBytes(9u << 20, 3)); // streamed, not whole-buffer
        scratch.write("src/photo.zip", textBytes(5000, 4));
        scratch.write("src/sub/notes.TXT", textBytes(100, 5));
        scratch.write("src/sub/deeper/empty.txt", "");
        scratch.write("src/.config/secret.txt", "hidden");
        scratch.write("src/skip.tmp", "temporary");
        scratch.write("src/façade €.txt", "unicode name");
    }

    ZipDll dll;
    Scratch scratch;
    fs::path previous;
};

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(ZipDllAdd, RecursiveAddWithPathsIsReadByEveryPeerAndExtractsIdentically) {
    makeTree();
    Command command("out.zip");
    command.spec("src/*.*").exclude("*.tmp");
    command.record().recurse = -1;
    command.comment("backup of src");
    ASSERT_EQ(command.run(dll), 9) << command.messages();

    EXPECT_EQ(sorted(entryNames("out.zip")),
              sorted({"src/readme.txt", "src/data.bin", "src/big.log", "src/photo.zip", "src/sub/",
                      "src/sub/notes.TXT", "src/sub/deeper/", "src/sub/deeper/empty.txt",
                      "src/façade €.txt"}));
    expectPeersAccept("out.zip");
    const fs::path out = unzipInto(scratch, "out.zip", "x");
    for (const char* name : {"readme.txt", "data.bin", "big.log", "sub/notes.TXT", "façade €.txt"})
        EXPECT_EQ(readFile(out / "src" / name), readFile(scratch.path("src") / name)) << name;
    std::string listing;
    runTool("unzip -z out.zip", &listing);
    EXPECT_NE(listing.find("backup of src"), std::string::npos);
}

TEST_F(ZipDllAdd, CallbackHearsTotalsItemsProgressAndEnd) {
    makeTree();
    Command command("out.zip");
    command.spec("src/big.log").spec("src/readme.txt");
    ASSERT_EQ(command.run(dll), 2) << command.messages();
    ASSERT_EQ(command.of(BRX_ACTION_TOTAL_FILES).size(), 1u);
    EXPECT_EQ(command.of(BRX_ACTION_TOTAL_FILES)[0].size, 2);
    EXPECT_EQ(command.of(BRX_ACTION_TOTAL_SIZE)[0].size, (9 << 20) + 20000);
    const auto items = command.of(BRX_ACTION_ITEM_START);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "src/big.log");
    EXPECT_EQ(items[0].size, 9 << 20);
    int64_t progressed = 0;
    for (const Report& report : command.of(BRX_ACTION_PROGRESS)) {
        EXPECT_LE(report.size, 256 * 1024);
        progressed += report.size;
    }
    EXPECT_EQ(progressed, (9 << 20) + 20000);
    EXPECT_EQ(command.reports.back().action, BRX_ACTION_END);
}

TEST_F(ZipDllAdd, NamesOnlyHiddenFilesAndStoreSuffixes) {
    makeTree();
    Command command("flat.zip");
    command.spec("src/*.txt").suffixes(".gif:.zip:.exe");
    command.record().recurse = -1;
    command.record().namesOnly = -1;
    command.record().hiddenFiles = -1;
    command.spec("src/photo.zip");
    ASSERT_GT(command.run(dll), 0) << command.messages();
    EXPECT_EQ(sorted(entryNames("flat.zip")), sorted({"readme.txt", "notes.TXT", "empty.txt",
                                                      "secret.txt", "façade €.txt", "photo.zip"}));
    std::string listing;
    runTool("unzip -v flat.zip", &listing);
    const size_t photo = listing.find("photo.zip");
    ASSERT_NE(photo, std::string::npos);
    EXPECT_NE(listing.rfind("Stored", photo), std::string::npos);
    EXPECT_LT(listing.rfind("Defl", photo), listing.rfind("Stored", photo)) << listing;
    expectPeersAccept("flat.zip");
}

TEST_F(ZipDllAdd, UnicodeNameHasUtf8FlagAndUnixModeIsKept) {
    scratch.write("é.sh", "#!/bin/sh\n");
    ::chmod("é.sh", 0750);
    Command command("mode.zip");
    command.spec("é.sh");
    ASSERT_EQ(command.run(dll), 1) << command.messages();
    std::string info;
    runTool("python3 -c " +
                shellQuote("import zipfile; i=zipfile.ZipFile('mode.zip').infolist()[0]; "
                           "print(i.filename, i.flag_bits & 0x800, i.create_system, "
                           "oct(i.external_attr >> 16))"),
            &info);
    EXPECT_EQ(info, "é.sh 2048 3 0o100750\n");
}

TEST_F(ZipDllAdd, LevelZeroStoresAndRandomDataIsStoredAtAnyLevel) {
    scratch.write("text.txt", textBytes(100000, 7));
    scratch.write("noise.bin", randomBytes(100000, 8));
    Command command("levels.zip");
    command.spec("text.txt").spec("noise.bin");
    ASSERT_EQ(command.run(dll), 2);
    std::string info;
    const std::string methods = "import zipfile,sys; print([i.compress_type for i in "
                                "zipfile.ZipFile(sys.argv[1]).infolist()])";
    runTool("python3 -c " + shellQuote(methods) + " levels.zip", &info);
    EXPECT_EQ(info, "[8, 0]\n");
    Command stored("stored.zip");
    stored.spec("text.txt");
    stored.record().level = 0;
    ASSERT_EQ(stored.run(dll), 1);
    runTool("python3 -c " + shellQuote(methods) + " stored.zip", &info);
    EXPECT_EQ(info, "[0]\n");
}

TEST_F(ZipDllAdd, EncryptionWithGivenOrRequestedPassword) {
    scratch.write("a.txt", textBytes(50000, 9));
    scratch.write("b.txt", textBytes(9u << 20, 10)); // streamed path
    Command given("given.zip");
    given.spec("a.txt").spec("b.txt").password("s3cret");
    given.record().encrypt = -1;
    ASSERT_EQ(given.run(dll), 2) << given.messages();
    EXPECT_TRUE(given.of(BRX_ACTION_PASSWORD).empty());
    expectPeersAccept("given.zip", "s3cret");
    std::string output;
    EXPECT_NE(runTool("unzip -t -P wrong given.zip", &output), 0);

    Command asked("asked.zip");
    asked.spec("a.txt");
    asked.record().encrypt = -1;
    asked.passwordAnswer = "typed";
    ASSERT_EQ(asked.run(dll), 1) << asked.messages();
    ASSERT_EQ(asked.of(BRX_ACTION_PASSWORD).size(), 1u);
    EXPECT_EQ(asked.of(BRX_ACTION_PASSWORD)[0].code & BRX_PASSWORD_CONFIRM_BIT,
              BRX_PASSWORD_CONFIRM_BIT);
    expectPeersAccept("asked.zip", "typed");

    Command refused("refused.zip");
    refused.spec("a.txt");
    refused.record().encrypt = -1;
    EXPECT_EQ(refused.run(dll), 0);
    EXPECT_TRUE(refused.hasMessage(BRX_MSG_NO_PASSWORD));
    EXPECT_FALSE(fs::exists("refused.zip"));
}

TEST_F(ZipDllAdd, MissingPatternAndNothingToDoUseTheirCodes) {
    Command command("none.zip");
    command.spec("nowhere/*.txt");
    EXPECT_EQ(command.run(dll), 0);
    const auto messages = command.of(BRX_ACTION_MESSAGE);
    ASSERT_EQ(messages.size(), 2u) << command.messages();
    EXPECT_EQ(messages[0].code, BRX_MSG_FILE_NOT_FOUND);
    EXPECT_EQ(messages[0].text, "File not found:nowhere/*.txt");
    EXPECT_EQ(messages[1].code, BRX_MSG_NOTHING_TO_DO);
    EXPECT_EQ(messages[1].text, "Nothing to do: archive not created");
    EXPECT_FALSE(fs::exists("none.zip"));
}

TEST_F(ZipDllAdd, UpdateFreshenAndReplace) {
    const fs::path a = scratch.write("a.txt", "first a");
    scratch.write("b.txt", "first b");
    Command first("u.zip");
    first.spec("a.txt").spec("b.txt");
    ASSERT_EQ(first.run(dll), 2);

    scratch.write("a.txt", "second a");
    fs::last_write_time(a, fs::last_write_time(a) + std::chrono::hours(1));
    scratch.write("c.txt", "new c");
    Command freshen("u.zip");
    freshen.spec("*.txt");
    freshen.record().freshen = -1;
    EXPECT_EQ(freshen.run(dll), 1) << freshen.messages(); // only a.txt: newer and already there
    EXPECT_EQ(sorted(entryNames("u.zip")), sorted({"a.txt", "b.txt"}));
    const fs::path once = unzipInto(scratch, "u.zip", "once");
    EXPECT_EQ(readFile(once / "a.txt"), "second a");

    Command update("u.zip");
    update.spec("*.txt");
    update.record().update = -1;
    EXPECT_EQ(update.run(dll), 1) << update.messages(); // c.txt is new, the others not newer
    EXPECT_EQ(entryNames("u.zip"), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));

    Command replace("u.zip");
    replace.spec("b.txt");
    EXPECT_EQ(replace.run(dll), 1); // plain add always replaces
    expectPeersAccept("u.zip");
}

TEST_F(ZipDllAdd, MoveDeletesSourcesOnlyAfterSuccess) {
    scratch.write("m/one.txt", "one");
    scratch.write("m/two.txt", textBytes(30000, 11));
    Command command("moved.zip");
    command.spec("m/*.*");
    command.record().recurse = -1;
    command.record().move = -1;
    ASSERT_EQ(command.run(dll), 2) << command.messages();
    EXPECT_FALSE(fs::exists("m/one.txt"));
    EXPECT_FALSE(fs::exists("m/two.txt"));
    expectPeersAccept("moved.zip");
}

TEST_F(ZipDllAdd, ForceDosNamesAndArchiveTakesNewestEntryTime) {
    const fs::path file = scratch.write("Long File Name.text", "dos");
    const auto stamp = fs::last_write_time(file) - std::chrono::hours(48);
    fs::last_write_time(file, stamp);
    Command command("dos.zip");
    command.spec("Long File Name.text");
    command.record().forceDos = -1;
    command.record().zipTime = -1;
    ASSERT_EQ(command.run(dll), 1);
    EXPECT_EQ(entryNames("dos.zip"), std::vector<std::string>{"LONG_FIL.TEX"});
    const auto archiveTime = fs::last_write_time("dos.zip");
    EXPECT_LE(std::chrono::abs(archiveTime - stamp), std::chrono::seconds(2));
}

TEST_F(ZipDllAdd, TwoCommandsInARowAndReloading) {
    scratch.write("x.txt", "x");
    for (int round = 0; round < 3; ++round) {
        ZipDll again;
        ASSERT_TRUE(again.loaded());
        EXPECT_EQ(again.version(), 160);
        Command command("r" + std::to_string(round) + ".zip");
        command.spec("x.txt");
        EXPECT_EQ(command.run(again), 1);
        EXPECT_EQ(command.run(again), 1);
    }
}

} // namespace
