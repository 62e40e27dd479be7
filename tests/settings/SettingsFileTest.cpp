#include "settings/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {
void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}
} // namespace

TEST(SettingsFile, ProgramNameWhenNoFamilyFileExists) {
    QTemporaryDir dir;
    EXPECT_EQ(settingsFileIn(dir.path()), dir.path() + "/BRX_EXPL.INI");
    EXPECT_EQ(settingsFileIn(dir.path() + "/"), dir.path() + "/BRX_EXPL.INI");
}

TEST(SettingsFile, FamilyFileWinsEvenWhenBothExist) {
    QTemporaryDir dir;
    touch(dir.filePath("BRX_EXPL.INI"));
    touch(dir.filePath("BRAMBLEX.INI"));
    EXPECT_EQ(settingsFileIn(dir.path()), dir.path() + "/BRAMBLEX.INI");
}

TEST(SettingsFile, NamesAreComparedWithoutCase) {
    QTemporaryDir dir;
    touch(dir.filePath("bramblex.ini"));
    EXPECT_EQ(settingsFileIn(dir.path()), dir.path() + "/bramblex.ini");

    QTemporaryDir other;
    touch(other.filePath("brx_expl.ini"));
    EXPECT_EQ(settingsFileIn(other.path()), other.path() + "/brx_expl.ini");
}
