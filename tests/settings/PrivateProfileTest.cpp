#include "settings/PrivateProfile.h"
#include "settings/SettingsKeys.h"

#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

QByteArray fileText(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

class PrivateProfileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("BRX_EXPL.INI")); }
};

} // namespace

TEST_F(PrivateProfileTest, AbsentFileSectionOrKeyGivesDefaults) {
    PrivateProfile profile(path());
    EXPECT_EQ(profile.readString("explo", "x", "dflt"), "dflt");
    EXPECT_EQ(profile.readInt("explo", "level", 1), 1);
    EXPECT_TRUE(profile.readBool("explo", "ftop", true));
    EXPECT_TRUE(profile.keys("explo").isEmpty());
    EXPECT_FALSE(QFile::exists(path())) << "reading must not create the file";

    writeText(path(), "[general]\ndm=0\n");
    EXPECT_EQ(profile.readInt("explo", "level", 7), 7);
    EXPECT_EQ(profile.readInt("general", "other", 5), 5);
}

TEST_F(PrivateProfileTest, IntegersAndBooleansFollowTheProfileRules) {
    writeText(path(),
              "[explo]\nsub=2\nhex=0x1F\nHEX2=0X10\nbad=abc\nneg=-4\nzero=0\nshort=0x\nempty=\n");
    PrivateProfile profile(path());
    EXPECT_TRUE(profile.readBool("explo", "sub", false)) << "any non-zero reads as true";
    EXPECT_EQ(profile.readInt("explo", "hex", 0), 31);
    EXPECT_EQ(profile.readInt("explo", "HEX2", 0), 16);
    EXPECT_EQ(profile.readInt("explo", "bad", 1), 1);
    EXPECT_EQ(profile.readInt("explo", "neg", 0), -4);
    EXPECT_FALSE(profile.readBool("explo", "zero", true));
    EXPECT_EQ(profile.readInt("explo", "short", 9), 9) << "\"0x\" alone is not hexadecimal";
    EXPECT_EQ(profile.readInt("explo", "empty", 3), 3);
    EXPECT_EQ(settings::read(profile, settings::kLevel), 1) << "absent level defaults to 1";
}

TEST_F(PrivateProfileTest, NamesMatchWithoutCaseAndValuesAreTrimmed) {
    writeText(path(), "[Explo]\r\n  Level = 4 \r\nq=\"quoted\"\r\n");
    PrivateProfile profile(path());
    EXPECT_EQ(profile.readInt("explo", "LEVEL", 1), 4);
    EXPECT_EQ(profile.readString("EXPLO", "q"), "quoted");
}

TEST_F(PrivateProfileTest, StringsAreCutAt1023Characters) {
    PrivateProfile profile(path());
    profile.writeString("div", "long", QString(2000, QLatin1Char('x')));
    EXPECT_EQ(profile.readString("div", "long").size(), 1023);
}

TEST_F(PrivateProfileTest, WritesKeepEveryOtherLineAndOrder) {
    writeText(path(), "; comment\n[explo]\ntop=1\nleft=2\n\n[general]\ndm=1\n");
    PrivateProfile profile(path());
    profile.writeInt("explo", "left", 30);
    profile.writeInt("explo", "width", 600);
    profile.writeBool("general", "vhint", false);
    profile.writeString("new", "k", "v");
    EXPECT_EQ(
        fileText(path()),
        "; comment\n[explo]\ntop=1\nleft=30\nwidth=600\n\n[general]\ndm=1\nvhint=0\n[new]\nk=v\n");
    EXPECT_EQ(profile.keys("explo"), (QStringList{"top", "left", "width"}));
}

TEST_F(PrivateProfileTest, EraseSectionRemovesOnlyThatSection) {
    PrivateProfile profile(path());
    profile.writeString("a", "x", "1");
    profile.writeString("HWC", "n0", "*.*");
    profile.writeString("HWC", "last", "*.*");
    profile.writeString("b", "y", "2");
    profile.eraseSection("hwc");
    EXPECT_TRUE(profile.keys("HWC").isEmpty());
    EXPECT_EQ(profile.readString("a", "x"), "1");
    EXPECT_EQ(profile.readString("b", "y"), "2");
    profile.eraseSection("absent"); // nothing to do, no failure
}

TEST_F(PrivateProfileTest, KeyListIsLimitedByItsBuffer) {
    PrivateProfile profile(path());
    QByteArray text = "[big]\n";
    const QString longKey(98, QLatin1Char('k'));
    for (int i = 0; i < 100; ++i)
        text += (longKey + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))).toUtf8() + "=1\n";
    writeText(path(), text);
    // 100 characters per name, 101 with its NUL: 81 names fit in 8192 with the final NUL.
    EXPECT_EQ(profile.keys("big").size(), 81);
}

TEST_F(PrivateProfileTest, FailedWriteRaisesTheProgramsMessageAndKeepsTheFile) {
    QTemporaryDir readOnly;
    const QString file = readOnly.filePath(QStringLiteral("BRX_EXPL.INI"));
    writeText(file, "[explo]\ntop=5\n");
    QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    PrivateProfile profile(file);
    if (QFile(file).open(QIODevice::WriteOnly | QIODevice::Append))
        GTEST_SKIP() << "running with rights that ignore file permissions";
    try {
        profile.writeInt("explo", "top", 9);
        FAIL() << "write to a read-only folder succeeded";
    } catch (const SettingsWriteError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Ne peut écrire dans %1").arg(file));
    }
    EXPECT_EQ(profile.readInt("explo", "top", 0), 5);
    QFile::setPermissions(readOnly.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(PrivateProfileTest, ParseProfileInt) {
    EXPECT_EQ(parseProfileInt("0xFFFFFFFF", 0), -1);
    EXPECT_EQ(parseProfileInt("12", 0), 12);
    EXPECT_EQ(parseProfileInt("0xZZ", 8), 8);
    EXPECT_EQ(parseProfileInt("", 8), 8);
}
