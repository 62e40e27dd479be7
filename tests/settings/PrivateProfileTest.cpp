#include "settings/PrivateProfile.h"
#include "settings/SettingsKeys.h"

#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>

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

// A line break in a value would end its line and plant keys of its own, here
// a stored password.
TEST_F(PrivateProfileTest, LineBreaksCannotInjectKeys) {
    writeText(path(), "[explo]\ntop=5\n");
    const QByteArray before = fileText(path());
    PrivateProfile profile(path());
    const QString injected = QStringLiteral("[div]\ndateinstall=FA41");
    const auto refused = [&](auto write) {
        try {
            write();
        } catch (const SettingsWriteError& e) {
            return e.text() == QStringLiteral("Ne peut écrire dans %1").arg(path());
        }
        return false;
    };
    EXPECT_TRUE(refused([&] { profile.writeString("explo", "top", "6\n" + injected); }));
    EXPECT_TRUE(refused([&] { profile.writeString("explo", "top", "6\r" + injected); }));
    EXPECT_TRUE(refused([&] { profile.writeString("explo", "top", QString("6") + QChar(0)); }));
    EXPECT_TRUE(refused([&] { profile.writeString("explo", "top\n" + injected, "6"); }));
    EXPECT_TRUE(refused([&] { profile.writeString("explo", "dateinstall=FA41;", "6"); }));
    EXPECT_TRUE(refused([&] { profile.writeString("explo", "[div]", "6"); }));
    EXPECT_TRUE(refused([&] { profile.writeString("x]\n[div", "dateinstall", "FA41"); }));
    EXPECT_TRUE(refused([&] {
        profile.writeSection("explo", {{"left", "1"}, {"top", "2\n" + injected}});
    }));
    EXPECT_EQ(fileText(path()), before) << "nothing of a refused write reaches the file";
    EXPECT_EQ(profile.readString("div", "dateinstall"), "");

    profile.writeString("explo", "top", R"(C:\Archives\ "quoted" ; = [x])");
    EXPECT_EQ(profile.readString("explo", "top"), R"(C:\Archives\ "quoted" ; = [x])")
        << "any other text is written as it stands and reads back the same";
}

TEST_F(PrivateProfileTest, WriteSectionReplacesItsKeysInPlace) {
    writeText(path(), "[a]\nx=1\n\n[HWC]\nn0=*.txt\nn1=*.doc\nlast=*.doc\n\n[b]\ny=2\n");
    PrivateProfile profile(path());
    profile.writeSection("hwc", {{"n0", "*.pas"}, {"last", "*.pas"}});
    EXPECT_EQ(fileText(path()), "[a]\nx=1\n\n[hwc]\nn0=*.pas\nlast=*.pas\n\n[b]\ny=2\n");
    profile.writeSection("new", {{"k", "v"}});
    EXPECT_EQ(profile.readString("new", "k"), "v");
    EXPECT_EQ(profile.keys("b"), QStringList({"y"}));
}

// Two windows writing at once: each write re-reads the file under the lock,
// so neither loses the other's keys.
TEST_F(PrivateProfileTest, ConcurrentWritersKeepEachOthersKeys) {
    constexpr int kWrites = 100;
    const auto writer = [this](const QString& section, const QString& prefix) {
        PrivateProfile profile(path());
        for (int i = 0; i < kWrites; ++i) {
            profile.writeInt(section, prefix + QString::number(i), i);
            if (i % 50 == 0) profile.writeSection(prefix + "-hist", {{"n0", prefix}});
        }
    };
    std::thread first(writer, QStringLiteral("explo"), QStringLiteral("a"));
    std::thread second(writer, QStringLiteral("explo"), QStringLiteral("b"));
    writer(QStringLiteral("general"), QStringLiteral("c"));
    first.join();
    second.join();

    const PrivateProfile profile(path());
    EXPECT_EQ(profile.keys("explo").size(), 2 * kWrites);
    EXPECT_EQ(profile.keys("general").size(), kWrites);
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(profile.readInt("explo", "a" + QString::number(i), -1), i);
        EXPECT_EQ(profile.readInt("explo", "b" + QString::number(i), -1), i);
    }
    for (const char* prefix : {"a", "b", "c"})
        EXPECT_EQ(profile.readString(QString(prefix) + "-hist", "n0"), prefix);
}

TEST_F(PrivateProfileTest, ParseProfileInt) {
    EXPECT_EQ(parseProfileInt("0xFFFFFFFF", 0), -1);
    EXPECT_EQ(parseProfileInt("12", 0), 12);
    EXPECT_EQ(parseProfileInt("0xZZ", 8), 8);
    EXPECT_EQ(parseProfileInt("", 8), 8);
}
