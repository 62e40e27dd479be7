// The built ZIPSFX.BIN itself: what a downloaded self-extractor carries.
#include "PeFile.h"

#include <QFile>
#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kIcon = 3, kVersion = 16, kManifest = 24;

std::string stubBytes() {
    QFile file(qEnvironmentVariable("BRX_BIN_DIR") + QStringLiteral("/ZIPSFX.BIN"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

class StubImage : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = stubBytes();
        if (bytes.empty())
            GTEST_SKIP() << "ZIPSFX.BIN was not built (no MinGW, or BRX_BUILD_SFX off)";
    }
    std::string bytes;
};

} // namespace

// Only DLLs that Windows always takes from its system folder may be
// imported: any other is searched for beside the .exe first, where a
// downloaded file could plant its own before the stub's code runs.
TEST_F(StubImage, ImportsOnlyKnownDlls) {
    const testpe::PeFile pe(bytes);
    ASSERT_TRUE(pe.ok());
    const std::vector<std::string> known = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                            "advapi32.dll", "msvcrt.dll"};
    const auto imported = pe.importedDlls();
    ASSERT_FALSE(imported.empty());
    for (const std::string& dll : imported)
        EXPECT_NE(std::find(known.begin(), known.end(), lower(dll)), known.end())
            << dll << " is not a known DLL";
}

TEST_F(StubImage, CarriesItsManifest) {
    const auto manifest = testpe::PeFile(bytes).resource(kManifest, 1);
    ASSERT_TRUE(manifest);
    for (const char* part :
         {"level=\"asInvoker\"", "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
          "PerMonitorV2", "<longPathAware", ">true</longPathAware>",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"})
        EXPECT_NE(manifest->find(part), std::string::npos) << part;
}

TEST_F(StubImage, VersionBlockNamesTheProductAndItsVersion) {
    const auto block = testpe::PeFile(bytes).resource(kVersion, 1);
    ASSERT_TRUE(block);
    EXPECT_EQ(testpe::versionString(*block, "ProductName"), BRX_EXPECTED_PRODUCT);
    EXPECT_EQ(testpe::versionString(*block, "ProductVersion"), BRX_EXPECTED_VERSION);
    EXPECT_EQ(testpe::versionString(*block, "FileVersion"), BRX_EXPECTED_VERSION);
    EXPECT_NE(block->find(std::string("0\0004\0000\000C\0000\0004\000E\0004\0", 16)),
              std::string::npos); // the French string table
}

// The program replaces this icon image when it writes a self-extractor.
TEST_F(StubImage, KeepsTheReplaceableIcon) {
    const auto icon = testpe::PeFile(bytes).resource(kIcon, 1);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->size(), 744u);
}
