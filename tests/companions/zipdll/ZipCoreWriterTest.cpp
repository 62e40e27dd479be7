// Unit tests of the writing side of the ZIP core and of the name rules of
// the compression library.
#include "zipcore/CompressPool.h"
#include "zipcore/Crc32.h"
#include "zipcore/DeflateCompressor.h"
#include "zipcore/ZipInput.h"
#include "zipcore/ZipReader.h"
#include "zipcore/ZipRecordWriter.h"
#include "zipdll/StoredNames.h"
#include "zipdll/Wildcard.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;
using namespace zipcore;

namespace {

template <class Buffer>
std::vector<unsigned char> inflateRaw(const Buffer& packed, size_t size) {
    std::vector<unsigned char> out(size + 1);
    z_stream stream{};
    inflateInit2(&stream, -MAX_WBITS);
    stream.next_in = const_cast<unsigned char*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&stream, Z_FINISH);
    out.resize(out.size() - stream.avail_out);
    inflateEnd(&stream);
    EXPECT_EQ(status, Z_STREAM_END);
    return out;
}

std::vector<unsigned char> sampleText(size_t size) {
    std::vector<unsigned char> data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] =
            static_cast<unsigned char>("the quick brown fox jumps\n"[i % 26] + (i / 5000) % 3);
    return data;
}

std::vector<unsigned char> noise(size_t size) {
    std::mt19937 generator(5);
    std::vector<unsigned char> data(size);
    for (auto& byte : data) byte = static_cast<unsigned char>(generator());
    return data;
}

TEST(DeflateCompressor, WholeAndStreamedDeflateRoundTrip) {
    const auto text = sampleText(300000);
    WholeDeflater whole(6);
    ByteBuffer packed;
    ASSERT_TRUE(whole.deflate(text.data(), text.size(), packed));
    EXPECT_LT(packed.size(), text.size() / 4);
    EXPECT_EQ(inflateRaw(packed, text.size()), text);

    StreamDeflater stream(6);
    std::vector<unsigned char> streamed;
    for (size_t at = 0; at < text.size(); at += 70000) {
        const size_t n = std::min<size_t>(70000, text.size() - at);
        stream.feed(text.data() + at, n, at + n == text.size(), streamed);
    }
    EXPECT_EQ(inflateRaw(streamed, text.size()), text);
}

TEST(DeflateCompressor, RandomDataIsSpottedByTheProbeAndNeverGrows) {
    const auto random = noise(200000);
    const auto text = sampleText(200000);
    WholeDeflater whole(9);
    EXPECT_TRUE(whole.looksIncompressible(random.data(), random.size()));
    EXPECT_FALSE(whole.looksIncompressible(text.data(), text.size()));
    EXPECT_TRUE(sampleLooksIncompressible(random.data(), random.size()));
    ByteBuffer packed;
    EXPECT_FALSE(whole.deflate(random.data(), random.size(), packed));
}

std::vector<unsigned char> wordText(size_t size) {
    static const char* const kWords[] = {"archive", "folder", "backup", "entry", "deflate",
                                         "window",  "the",    "of",     "and",   "to",
                                         "in",      "return", "const",  "while"};
    std::mt19937 generator(3);
    std::string text;
    while (text.size() < size) {
        text += kWords[generator() % 14];
        text += generator() % 9 == 0 ? '\n' : ' ';
    }
    return std::vector<unsigned char>(text.begin(),
                                      text.begin() + static_cast<std::ptrdiff_t>(size));
}

size_t zlibSize(const std::vector<unsigned char>& data, int level) {
    z_stream stream{};
    deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> out(deflateBound(&stream, static_cast<uLong>(data.size())));
    stream.next_in = const_cast<unsigned char*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(::deflate(&stream, Z_FINISH), Z_STREAM_END);
    deflateEnd(&stream);
    return stream.total_out;
}

// Word-heavy text is where the fast whole-buffer levels fall behind zlib;
// at level 6 a file this large is sampled and deflated with the deeper search.
TEST(DeflateCompressor, EveryLevelIsNoLargerThanZlibAtThatLevel) {
    const auto text = wordText(1200000);
    for (int level = 1; level <= 9; ++level) {
        WholeDeflater whole(level);
        ByteBuffer packed;
        ASSERT_TRUE(whole.deflate(text.data(), text.size(), packed));
        EXPECT_LE(packed.size(), zlibSize(text, level)) << "level " << level;
        EXPECT_EQ(inflateRaw(packed, text.size()), text) << "level " << level;
    }
}

TEST(DeflateCompressor, Level6SearchesDeeperOnlyWhereASampleShowsItPays) {
    const auto words = wordText(1200000);
    const auto periodic = sampleText(1200000);
    ByteBuffer packed;

    WholeDeflater level6(6);
    ASSERT_TRUE(level6.deflate(words.data(), words.size(), packed));
    EXPECT_TRUE(level6.usedRicherLevel());
    ASSERT_TRUE(level6.deflate(periodic.data(), periodic.size(), packed));
    EXPECT_FALSE(level6.usedRicherLevel()) << "nothing to gain on long repeats";
    EXPECT_EQ(inflateRaw(packed, periodic.size()), periodic);
    const auto smallWords = wordText(500000);
    ASSERT_TRUE(level6.deflate(smallWords.data(), smallWords.size(), packed));
    EXPECT_FALSE(level6.usedRicherLevel()) << "a sample would cost too much of a small file";

    WholeDeflater level5(5);
    ASSERT_TRUE(level5.deflate(words.data(), words.size(), packed));
    EXPECT_FALSE(level5.usedRicherLevel());
}

TEST(CompressPool, AFileLargerThanItsListedSizeIsReadWhole) {
    const fs::path file = fs::temp_directory_path() / ("grown-" + std::to_string(::getpid()));
    const auto text = sampleText(300000);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(text.data()),
               static_cast<std::streamsize>(text.size()));
    ByteBuffer read(5000, 0xAA); // reused memory: what was there before must not show through
    std::string error;
    EXPECT_TRUE(readWholeFile(file.string(), 1u << 20, read, error, 1000));
    EXPECT_EQ(std::vector<unsigned char>(read.begin(), read.end()), text);
    EXPECT_FALSE(readWholeFile(file.string(), 200000, read, error, 1000));
    EXPECT_FALSE(error.empty());
    fs::remove(file);
}

TEST(CompressPool, ResultsComeInOrderWithReadErrorsAndEncryption) {
    const fs::path folder = fs::temp_directory_path() / ("pool-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::vector<CompressTask> tasks;
    std::vector<std::vector<unsigned char>> contents;
    for (int i = 0; i < 12; ++i) {
        contents.push_back(i % 3 == 0 ? noise(50000 + i) : sampleText(40000 + 1000 * i));
        const fs::path file = folder / ("f" + std::to_string(i));
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(contents.back().data()),
                   static_cast<std::streamsize>(contents.back().size()));
        tasks.push_back(CompressTask{file.string(), contents.back().size(), false});
    }
    tasks.push_back(CompressTask{(folder / "missing").string(), 10, false});
    CompressSettings settings;
    settings.threads = 2;
    settings.byteBudget = 100000; // forces the workers to wait for the consumer
    CompressPool pool(tasks, settings);
    for (size_t i = 0; i < contents.size(); ++i) {
        CompressResult* result = nullptr;
        while (!(result = pool.waitFor(i, std::chrono::milliseconds(50)))) {}
        ASSERT_TRUE(result->ok) << result->error;
        EXPECT_EQ(result->crc32, crc32Update(0, contents[i].data(), contents[i].size()));
        EXPECT_EQ(result->deflated, i % 3 != 0);
        const auto plain =
            result->deflated ? inflateRaw(result->data, contents[i].size())
                             : std::vector<unsigned char>(result->data.begin(), result->data.end());
        EXPECT_EQ(plain, contents[i]);
        pool.release(i);
    }
    CompressResult* missing = nullptr;
    while (!(missing = pool.waitFor(contents.size(), std::chrono::milliseconds(50)))) {}
    EXPECT_FALSE(missing->ok);
    EXPECT_NE(missing->error.find("No such file"), std::string::npos);
    fs::remove_all(folder);
}

TEST(ZipRecordWriter, RecordsAreReadBackByTheDirectoryReader) {
    WrittenEntry entry;
    entry.versionMadeBy = 0x031E;
    entry.flags = 0x0800;
    entry.crc32 = crc32Update(0, "abc", 3);
    entry.compressedSize = entry.uncompressedSize = 3;
    entry.externalAttributes = 0100644u << 16;
    entry.name = "dossier/é.txt";
    std::string archive = localHeaderBytes(entry) + "abc";
    const uint32_t central = static_cast<uint32_t>(archive.size());
    archive += centralHeaderBytes(entry);
    archive += endRecordBytes(1, static_cast<uint32_t>(archive.size() - central), central, "note");
    MemoryInput input(archive.data(), archive.size());
    ZipDirectory directory;
    ASSERT_TRUE(readDirectory(input, directory).ok);
    ASSERT_EQ(directory.entries.size(), 1u);
    EXPECT_EQ(directory.entries[0].name, entry.name);
    EXPECT_EQ(directory.entries[0].unixMode(), 0100644u);
    EXPECT_EQ(directory.comment, "note");
    const DataLocation location = locateEntryData(input, directory, directory.entries[0]);
    ASSERT_TRUE(location.ok);
    EXPECT_EQ(archive.substr(location.offset, 3), "abc");
}

TEST(Wildcard, DosStyleMatching) {
    using zipdll::matchWildcard;
    EXPECT_TRUE(matchWildcard("*.*", "README"));
    EXPECT_TRUE(matchWildcard("*.txt", "notes.TXT"));
    EXPECT_TRUE(matchWildcard("a?c.*", "abc"));
    EXPECT_FALSE(matchWildcard("a?c", "ac"));
    EXPECT_TRUE(matchWildcard("*a*b*c", "xxaxxbxxbxc"));
    EXPECT_FALSE(matchWildcard("*.doc", "report.docx"));
    EXPECT_TRUE(matchWildcard("d/*", "d/sub/file"));
}

TEST(StoredNames, PrefixesNeverClimbOutAndDosNamesAreShort) {
    using zipdll::storedFolderPrefix;
    EXPECT_EQ(storedFolderPrefix("/home/user/docs"), "home/user/docs/");
    EXPECT_EQ(storedFolderPrefix("./a/../b/"), "b/");
    EXPECT_EQ(storedFolderPrefix("../../etc"), "etc/");
    EXPECT_EQ(storedFolderPrefix("."), "");
    EXPECT_EQ(zipdll::dosStoredName("My Documents/Report 2024.final.docx"),
              "MY_DOCUM/REPORT_2.DOC");
    EXPECT_EQ(zipdll::dosStoredName("folder/"), "FOLDER/");
}

} // namespace
