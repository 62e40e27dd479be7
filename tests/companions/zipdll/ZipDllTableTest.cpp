// The table of odd and hostile archives as the archive ZIPDLL.DLL adds to:
// every entry the other readers list is kept, or the add is refused with a
// message and the archive is left byte for byte as it was.

#include "HostileArchives.h"
#include "ZipDllHarness.h"
#include "zipcore/EntryName.h"
#include "zipcore/ZipReader.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

using namespace zipdlltest;

namespace {

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

std::set<std::string> namesIn(const std::string& bytes) {
    zipcore::MemoryInput input(bytes.data(), bytes.size());
    zipcore::ZipDirectory dir;
    std::set<std::string> names;
    if (!zipcore::readDirectory(input, dir).ok) return names;
    for (const zipcore::ZipEntry& entry : dir.entries) names.insert(zipcore::entryNameUtf8(entry));
    return names;
}

} // namespace

TEST(ZipDllTable, AddKeepsEveryListedEntryOrRefuses) {
    ZipDll dll;
    ASSERT_TRUE(dll.loaded());
    const std::filesystem::path previous = std::filesystem::current_path();
    for (const ziptest::HostileArchive& c : ziptest::hostileArchives()) {
        if (c.listedCount > 1000) continue;
        SCOPED_TRACE(c.id);
        Scratch scratch;
        const std::filesystem::path archive = scratch.write("t.zip", c.bytes);
        scratch.write("new.txt", "new content");
        std::filesystem::current_path(scratch.path());
        Command add(archive.string());
        add.spec("new.txt");
        const int32_t added = add.run(dll);
        const std::string after = contentOf(archive);
        if (added <= 0) {
            std::filesystem::current_path(previous);
            EXPECT_EQ(after, c.bytes) << add.messages();
            EXPECT_FALSE(add.messages().empty());
            continue;
        }
        EXPECT_TRUE(c.readable) << "an unreadable archive was replaced";
        std::set<std::string> wanted(c.listed.begin(), c.listed.end());
        wanted.insert("new.txt");
        EXPECT_EQ(namesIn(after), wanted) << add.messages();
        std::filesystem::current_path(previous);
    }
    std::filesystem::current_path(previous);
}
