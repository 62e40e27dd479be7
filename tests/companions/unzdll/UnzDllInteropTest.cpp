// Archives written by other ZIP tools extract to the same bytes. Each case
// is skipped when its tool is not installed.

#include "UnzDllHarness.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

bool haveTool(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string pseudoRandom(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 2463534242u;
    for (char& c : bytes) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

const std::vector<std::pair<std::string, std::string>>& sourceFiles() {
    static const std::vector<std::pair<std::string, std::string>> files{
        {"src/a.txt", std::string(20000, 'a') + "end\n"},
        {"src/sub/noise.bin", pseudoRandom(200000)},
        {"src/sub/deeper/empty.txt", ""},
        {"src/caf\xc3\xa9 \xe2\x82\xac.txt", "utf-8 name\n"},
    };
    return files;
}

struct InteropCase {
    const char* label;
    const char* tool;
    const char* command; // run in the scratch root; writes x.zip
    const char* password;
};

const InteropCase kCases[] = {
    {"zip", "zip", "zip -qr x.zip src", ""},
    {"zip stored", "zip", "zip -qr0 x.zip src", ""},
    {"zip encrypted", "zip", "zip -qr -P pw x.zip src", "pw"},
    {"zip streamed (data descriptors)", "zip", "zip -qr - src > x.zip", ""},
    {"zip behind a prefix, offsets not adjusted", "zip",
     "zip -qr y.zip src && head -c 7000 /dev/zero > x.zip && cat y.zip >> x.zip", ""},
    {"zip behind a prefix, offsets adjusted", "zip",
     "zip -qr y.zip src && head -c 7000 /dev/zero > x.zip && cat y.zip >> x.zip && zip -qA x.zip",
     ""},
    {"7-Zip", "7zz", "7zz a -tzip x.zip src -bso0 -bsp0", ""},
    {"7-Zip encrypted", "7zz", "7zz a -tzip -ppw -mem=ZipCrypto x.zip src -bso0 -bsp0", "pw"},
    {"bsdtar", "bsdtar", "bsdtar --format zip -cf x.zip src", ""},
    {"python deflated", "python3",
     "python3 -c \"import zipfile,os\nwith zipfile.ZipFile('x.zip','w',zipfile.ZIP_DEFLATED) as "
     "z:\n"
     " z.comment=b'a comment'\n for d,_,fs in os.walk('src'):\n  for f in fs: "
     "z.write(os.path.join(d,f))\"",
     ""},
    {"python stored", "python3",
     "python3 -c \"import zipfile,os\nwith zipfile.ZipFile('x.zip','w',zipfile.ZIP_STORED) as z:\n"
     " for d,_,fs in os.walk('src'):\n  for f in fs: z.write(os.path.join(d,f))\"",
     ""},
};

class UnzDllInterop : public testing::TestWithParam<InteropCase> {};

} // namespace

TEST_P(UnzDllInterop, ExtractsAndTestsToIdenticalBytes) {
    const InteropCase& c = GetParam();
    if (!haveTool(c.tool)) GTEST_SKIP() << c.tool << " is not installed";
    ScratchFolder scratch;
    for (const auto& [name, bytes] : sourceFiles()) {
        fs::create_directories((scratch.root() / name).parent_path());
        scratch.write(name, bytes);
    }
    const std::string command = "cd '" + scratch.root().string() + "' && " + c.command;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string archive = (scratch.root() / "x.zip").string();

    UnzDllHarness unz;
    const int tested = unz.run({.archive = archive, .password = c.password, .test = true});
    const int extracted = unz.run({.archive = archive, .password = c.password});
    EXPECT_GE(tested, 4) << c.label;
    EXPECT_EQ(extracted, tested) << c.label;
    EXPECT_FALSE(unz.hasMessage(BRX_MSG_DAMAGED_ENTRY));
    for (const auto& [name, bytes] : sourceFiles())
        EXPECT_EQ(readFile(scratch.out() / name), bytes) << c.label << ": " << name;
}

INSTANTIATE_TEST_SUITE_P(PeerTools, UnzDllInterop, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<InteropCase>& info) {
                             std::string name;
                             for (const char* p = info.param.label; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });
