// The outcome a real engine gives for listing and converting archives.

#include "EngineFixture.h"
#include "ZipBytes.h"

#include <QFileInfo>

namespace brx::test {
namespace {

class EngineOutcomeTest : public EngineFixture {};

TEST_F(EngineOutcomeTest, AnEmptyFileListsAsANewArchive) {
    const QString empty = writeFile("empty.zip", QByteArray());
    engine.setZipFileName(empty);
    EXPECT_EQ(engine.ZipFileName(), empty);
    EXPECT_EQ(engine.Count(), 0);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(engine.LastOutcome().kind, ZipOutcomeKind::Ok);

    engine.setZipFileName(writeFile("short.zip", "PK\x05\x06tiny"));
    EXPECT_EQ(engine.LastOutcome().kind, ZipOutcomeKind::Unreadable);
    EXPECT_TRUE(engine.LastOutcome().archive.endsWith(QStringLiteral("short.zip")));
}

TEST_F(EngineOutcomeTest, ConvertToExeRefusesTheLastVolumeOfASet) {
    QByteArray volume = ZipBytes::archive({RawEntry{"a.txt", "alpha"}});
    volume[volume.size() - 22 + 4] = 2; // this disk: the third volume
    volume[volume.size() - 22 + 6] = 2; // the directory starts on it
    const QString name = writeFile("set003.zip", volume);
    engine.setZipFileName(name);
    ASSERT_TRUE(engine.IsSpanned());

    EXPECT_EQ(engine.ConvertToExe(), -9);
    EXPECT_TRUE(sawMessage(QStringLiteral("set003.zip is a volume of a multi-volume set")));
    EXPECT_EQ(engine.LastOutcome().kind, ZipOutcomeKind::Refused);
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), volume);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("set003.exe")));
}

} // namespace
} // namespace brx::test
