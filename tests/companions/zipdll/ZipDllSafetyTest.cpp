// The archive on disk is only ever replaced by a complete one: cancel, a
// full disk, limits of the format and bad input leave it as it was.
#include "ZipDllHarness.h"

#include "zipcore/ZipFileWriter.h"
#include "zipcore/ZipReader.h"
#include "zipcore/ZipRecordWriter.h"

#include <gtest/gtest.h>

#include <csignal>
#include <iterator>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace zipdlltest;

namespace {

size_t openDescriptors() {
    const auto entries = fs::directory_iterator("/proc/self/fd");
    return static_cast<size_t>(std::distance(fs::begin(entries), fs::end(entries)));
}

void makeSparseFile(const std::string& path, off_t size) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

class ZipDllSafety : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dll.loaded());
        previous = fs::current_path();
        fs::current_path(scratch.path());
        scratch.write("old.txt", textBytes(40000, 1));
        Command first("keep.zip");
        first.spec("old.txt");
        ASSERT_EQ(first.run(dll), 1);
        original = readFile("keep.zip");
    }
    void TearDown() override { fs::current_path(previous); }

    void expectUntouched() const {
        EXPECT_EQ(readFile("keep.zip"), original);
        for (const auto& entry : fs::directory_iterator(scratch.path()))
            EXPECT_EQ(entry.path().filename().string().rfind(".zipdll-", 0), std::string::npos)
                << "temporary file left: " << entry.path();
    }

    ZipDll dll;
    Scratch scratch;
    fs::path previous;
    std::string original;
};

TEST_F(ZipDllSafety, CancelFromTheCallbackLeavesTheArchiveAsItWas) {
    scratch.write("many/big1.txt", textBytes(3u << 20, 2));
    scratch.write("many/big2.txt", textBytes(12u << 20, 3));
    Command command("keep.zip");
    command.spec("many/*.*");
    command.stopAfterProgress = 3;
    EXPECT_EQ(command.run(dll), 0);
    EXPECT_TRUE(command.hasMessage(BRX_MSG_CANCELLED)) << command.messages();
    expectUntouched();
}

// A file over the whole-file limit is read by the writing thread itself;
// stopping inside it must not leave that file open in the caller's process.
TEST_F(ZipDllSafety, CancelInsideAStreamedFileClosesIt) {
    makeSparseFile("large.bin", off_t{40} << 20);
    const size_t before = openDescriptors();
    Command command("keep.zip");
    command.spec("large.bin");
    command.stopAfterProgress = 2;
    EXPECT_EQ(command.run(dll), 0);
    EXPECT_TRUE(command.hasMessage(BRX_MSG_CANCELLED)) << command.messages();
    EXPECT_EQ(openDescriptors(), before);
    expectUntouched();
}

TEST_F(ZipDllSafety, SizesOver2GiBAreReportedWhole) {
    const int64_t size = int64_t{3} << 30;
    makeSparseFile("large.bin", off_t{size});
    Command command("keep.zip");
    command.spec("large.bin");
    command.stopAfterProgress = 0;
    EXPECT_EQ(command.run(dll), 0);
    ASSERT_EQ(command.of(BRX_ACTION_TOTAL_SIZE).size(), 1u);
    ASSERT_EQ(command.of(BRX_ACTION_ITEM_START).size(), 1u);
    EXPECT_EQ(command.of(BRX_ACTION_TOTAL_SIZE)[0].size, size);
    EXPECT_EQ(command.of(BRX_ACTION_ITEM_START)[0].size, size);
    expectUntouched();
}

TEST_F(ZipDllSafety, FullDiskFailsWithReasonAndKeepsTheArchive) {
    scratch.write("noise.bin", randomBytes(2u << 20, 4));
    // A file-size limit makes every write past 1 MiB fail as on a full disk;
    // it is set in a child so the test process keeps its own limits.
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1u << 20, 1u << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        Command command("keep.zip");
        command.spec("noise.bin");
        const int32_t result = command.run(dll);
        const bool reported = command.hasMessage(BRX_MSG_WRITE_FAILED) &&
                              command.messages().find("File too large") != std::string::npos;
        ::_exit(result == 0 && reported ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    expectUntouched();
}

TEST_F(ZipDllSafety, FileOverFourGigabytesIsWrittenNotRefusedAndAFailureKeepsTheArchive) {
    {
        const int fd = ::open("huge.bin", O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, (off_t(1) << 32) + 1), 0); // sparse
        ::close(fd);
    }
    // Writing all of it takes a minute: a file-size limit stops the copy
    // early, as a full disk would, once the Zip64 entry is under way.
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8u << 20, 8u << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        Command command("keep.zip");
        command.suffixes(".bin").spec("huge.bin").spec("old.txt"); // stored: the limit comes soon
        const int32_t result = command.run(dll);
        const bool started = !command.of(BRX_ACTION_ITEM_START).empty();
        ::_exit(result == 0 && started && command.hasMessage(BRX_MSG_WRITE_FAILED) &&
                        !command.hasMessage(BRX_MSG_TOO_LARGE)
                    ? 0
                    : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    expectUntouched();
}

TEST_F(ZipDllSafety, The65536thEntryMakesTheArchiveZip64AndKeepsTheOthers) {
    {
        const int fd = ::open("full.zip", O_CREAT | O_WRONLY | O_TRUNC, 0644);
        zipcore::ZipFileWriter out(fd);
        std::vector<zipcore::WrittenEntry> entries(65535);
        for (size_t i = 0; i < entries.size(); ++i) {
            entries[i].name = "e" + std::to_string(i);
            entries[i].localHeaderOffset = static_cast<uint32_t>(out.position());
            out.write(zipcore::localHeaderBytes(entries[i]));
        }
        const uint64_t central = out.position();
        for (const auto& entry : entries) out.write(zipcore::centralHeaderBytes(entry));
        out.write(zipcore::endRecordBytes(65535, static_cast<uint32_t>(out.position() - central),
                                          static_cast<uint32_t>(central), {}));
        out.close();
    }
    const std::string before = readFile("full.zip");
    Command command("full.zip");
    command.spec("old.txt");
    EXPECT_EQ(command.run(dll), 1) << command.messages();
    const std::string after = readFile("full.zip");
    zipcore::MemoryInput input(after.data(), after.size());
    zipcore::ZipDirectory dir;
    ASSERT_TRUE(zipcore::readDirectory(input, dir).ok);
    EXPECT_TRUE(dir.zip64);
    ASSERT_EQ(dir.entries.size(), 65536u);
    EXPECT_EQ(dir.entries.back().name, "old.txt");
    // The entries that were there keep their bytes and their places.
    const size_t oldData = dir.entries.back().localHeaderOffset;
    EXPECT_EQ(after.substr(0, oldData), before.substr(0, oldData));
}

TEST_F(ZipDllSafety, NotAnArchiveIsNeverOverwritten) {
    scratch.write("letter.zip", "this is a letter, not an archive");
    Command command("letter.zip");
    command.spec("old.txt");
    EXPECT_EQ(command.run(dll), 0);
    EXPECT_TRUE(command.hasMessage(BRX_MSG_ARCHIVE_UNREADABLE)) << command.messages();
    EXPECT_EQ(readFile("letter.zip"), "this is a letter, not an archive");
}

TEST_F(ZipDllSafety, TheArchiveIsNotAddedToItself) {
    Command command("keep.zip");
    command.spec("*.*");
    EXPECT_EQ(command.run(dll), 1) << command.messages(); // old.txt replaced, keep.zip skipped
    EXPECT_EQ(entryNames("keep.zip"), std::vector<std::string>{"old.txt"});
}

TEST_F(ZipDllSafety, RecordWithWrongCheckValueIsRefused) {
    Command command("keep.zip");
    command.spec("old.txt");
    command.record().check = 0;
    EXPECT_EQ(command.run(dll), 0);
    EXPECT_TRUE(command.hasMessage(BRX_MSG_BAD_COMMAND));
    expectUntouched();
}

TEST_F(ZipDllSafety, TemporaryFolderElsewhereStillReplacesInOneStep) {
    Scratch other;
    scratch.write("more.txt", "more");
    Command command("keep.zip");
    command.spec("more.txt").tempDir(other.path().string());
    EXPECT_EQ(command.run(dll), 1) << command.messages();
    EXPECT_EQ(entryNames("keep.zip"), (std::vector<std::string>{"old.txt", "more.txt"}));
    EXPECT_TRUE(fs::is_empty(other.path()));
}

TEST_F(ZipDllSafety, SelfExtractorPrefixSurvivesAnAdd) {
    const std::string stub = "MZ" + std::string(998, 'S');
    scratch.write("sfx.exe", stub + original);
    scratch.write("more.txt", textBytes(1000, 5));
    Command command("sfx.exe");
    command.spec("more.txt");
    ASSERT_EQ(command.run(dll), 1) << command.messages();
    EXPECT_EQ(readFile("sfx.exe").substr(0, stub.size()), stub);
    expectPeersAccept("sfx.exe");
}

} // namespace
