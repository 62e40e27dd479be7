#include "support/DriveProbe.h"
#include "tests/fakes/FakeVolumes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace brx;

namespace {
class ProbeDriveTest : public testing::Test {
protected:
    void SetUp() override {
        root = tmp.path() + "/";
        volumes.setVolume(root, FakeVolume{DriveType::Removable});
    }
    void touch(const QString& name) {
        QFile file(root + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir tmp;
    QString root;
    FakeVolumes volumes;
};
} // namespace

TEST_F(ProbeDriveTest, EmptyThenHoldingEntries) {
    EXPECT_EQ(ProbeDrive(root, volumes), kProbeEmpty);
    EXPECT_EQ(ProbeDrive(tmp.path(), volumes), kProbeEmpty) << "root without trailing separator";
    touch(".hidden");
    EXPECT_EQ(ProbeDrive(root, volumes), kProbeHasEntry) << "hidden entries count";
}

TEST_F(ProbeDriveTest, FolderAloneCounts) {
    ASSERT_TRUE(QDir(root).mkdir("sub"));
    EXPECT_EQ(ProbeDrive(root, volumes), kProbeHasEntry);
}

TEST_F(ProbeDriveTest, NotMountedOrMissingIsNotReady) {
    FakeVolumes none;
    EXPECT_EQ(ProbeDrive(root, none), kProbeNotReady) << "an existing folder that is no volume";
    volumes.setVolume("/nonexistent-volume-xyz/", FakeVolume{});
    EXPECT_EQ(ProbeDrive("/nonexistent-volume-xyz/", volumes), kProbeNotReady);
    EXPECT_EQ(ProbeDrive("", volumes), kProbeNotReady);
}

TEST_F(ProbeDriveTest, UnreadableVolumeIsOtherFailure) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not hold for root";
    touch("x");
    ASSERT_TRUE(QFile::setPermissions(root, QFileDevice::Permissions()));
    const int result = ProbeDrive(root, volumes);
    QFile::setPermissions(root,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result, kProbeOtherFailure);
}
