// The table of odd and hostile archives through UNZDLL.DLL: an extraction
// of everything writes exactly the entries every reader agrees on, refuses
// the others one by one, and a refused archive writes nothing and says so.

#include "HostileArchives.h"
#include "UnzDllHarness.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> expectedFiles(const ziptest::HostileArchive& c) {
    std::vector<std::string> files;
    for (const auto& [name, content] : c.extracted) {
        files.push_back(name);
        for (size_t slash = name.find('/'); slash != std::string::npos;
             slash = name.find('/', slash + 1))
            files.push_back(name.substr(0, slash)); // its folders
    }
    if (c.id == "duplicate names")
        files.push_back("a.txt"); // one of the two, by the overwrite rule
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

} // namespace

TEST(UnzDllTable, ExtractsWhatEveryReaderAgreesOn) {
    for (const ziptest::HostileArchive& c : ziptest::hostileArchives()) {
        if (c.listedCount > 1000) continue; // the wrapped count: see the test below
        SCOPED_TRACE(c.id);
        ScratchFolder scratch;
        const std::string archive = scratch.write("t.zip", c.bytes);
        UnzDllHarness unz;
        const int extracted = unz.run({.archive = archive});
        if (!c.readable) {
            EXPECT_EQ(extracted, 0);
            EXPECT_TRUE(scratch.filesUnder(scratch.out()).empty());
            EXPECT_FALSE(unz.of(BRX_ACTION_MESSAGE).empty());
            continue;
        }
        EXPECT_EQ(scratch.filesUnder(scratch.out()), expectedFiles(c));
        for (const auto& [name, content] : c.extracted)
            EXPECT_EQ(readFile(scratch.out() / name), content) << name;
    }
}

TEST(UnzDllTable, SelectsAnEntryByItsListedName) {
    const auto& table = ziptest::hostileArchives();
    const auto names = std::find_if(table.begin(), table.end(), [](const auto& c) {
        return c.id == "names in code page 850, Latin-1 and UTF-8";
    });
    ASSERT_NE(names, table.end());
    for (const std::string& listed : names->listed) {
        ScratchFolder scratch;
        UnzDllHarness unz;
        EXPECT_EQ(unz.run({.archive = scratch.write("t.zip", names->bytes), .specs = {listed}}), 1)
            << listed;
        EXPECT_EQ(scratch.filesUnder(scratch.out()), std::vector<std::string>{listed});
    }
}

TEST(UnzDllTable, TestsEveryEntryOfAWrappedCount) {
    const auto& table = ziptest::hostileArchives();
    const auto wrapped = std::find_if(table.begin(), table.end(),
                                      [](const auto& c) { return c.listedCount > 65535; });
    ASSERT_NE(wrapped, table.end());
    ScratchFolder scratch;
    UnzDllHarness unz;
    EXPECT_EQ(unz.run({.archive = scratch.write("w.zip", wrapped->bytes), .test = true}), 65537);
}
