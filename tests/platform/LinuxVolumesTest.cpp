#include "platform/Clock.h"
#include "platform/LinuxVolumes.h"
#include "support/PathNames.h"
#include "tests/fakes/FakeVolumes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace brx;

TEST(MountInfo, KeepsRealVolumesAndNetworkSharesOnly) {
    const QByteArray text = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                            "23 22 0:5 / /proc rw - proc proc rw\n"
                            "24 22 0:20 / /tmp rw - tmpfs tmpfs rw\n"
                            "25 22 8:17 / /media/ann/KEY\\040DRIVE rw - vfat /dev/sdb1 rw\n"
                            "26 22 0:40 / /mnt/share rw - cifs //srv/share rw\n"
                            "27 22 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
                            "28 22 0:30 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
                            "29 22 0:31 / / rw - overlay overlay rw\n";
    const QList<MountEntry> entries = parseMountInfo(text);
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].mountPoint, "/");
    EXPECT_EQ(entries[1].mountPoint, "/media/ann/KEY DRIVE/");
    EXPECT_EQ(entries[1].fsType, "vfat");
    EXPECT_EQ(entries[2].mountPoint, "/mnt/share/");
    EXPECT_TRUE(isNetworkFileSystem("cifs"));
    EXPECT_FALSE(isNetworkFileSystem("ext4"));
}

TEST(LinuxVolumes, RootComesFirstThenHome) {
    LinuxVolumes volumes;
    const QStringList roots = volumes.volumeRoots();
    ASSERT_GE(roots.size(), 2);
    EXPECT_EQ(roots[0], "/");
    EXPECT_EQ(roots[1], QDir::homePath() == "/" ? roots[1] : QDir::homePath() + "/");
    EXPECT_EQ(volumes.mountPoints().value(0), "/");
}

TEST(LinuxVolumes, VolumeOfMissingPathIsThatOfItsExistingParent) {
    LinuxVolumes volumes;
    QTemporaryDir dir;
    const QString existing = volumes.volumeRootOf(dir.path());
    EXPECT_EQ(volumes.volumeRootOf(dir.path() + "/not/yet/made"), existing);
    EXPECT_GT(volumes.freeSpace(existing), 0);
    EXPECT_GE(volumes.capacity(existing), volumes.freeSpace(existing));
    EXPECT_EQ(volumes.freeSpace("/no/such/volume/"), -1);
}

TEST(VolumeRootPredicate, OnlyMountPointsAreRoots) {
    FakeVolumes volumes;
    volumes.setVolume("/media/usb/", FakeVolume{DriveType::Removable});
    EXPECT_TRUE(isVolumeRoot("/", volumes));
    EXPECT_TRUE(isVolumeRoot("/media/usb", volumes));
    EXPECT_TRUE(isVolumeRoot("/media/usb/", volumes));
    EXPECT_FALSE(isVolumeRoot("/media/usb/docs", volumes));
    EXPECT_FALSE(isVolumeRoot("/media", volumes));
    EXPECT_FALSE(isVolumeRoot("", volumes));
}

TEST(Clock, TickCountAdvancesInMilliseconds) {
    const uint32_t start = tickCount();
    QThread::msleep(30);
    const uint32_t elapsed = tickCount() - start;
    EXPECT_GE(elapsed, 25u);
    EXPECT_LT(elapsed, 5000u);
}
