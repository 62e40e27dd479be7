#include "platform/LinuxDiskEject.h"
#include "support/DiskEject.h"
#include "tests/fakes/FakeDiskEjector.h"
#include "tests/fakes/FakeVolumes.h"

#include <QVariant>
#include <gtest/gtest.h>

using namespace brx;

namespace {
class DiskEjectTest : public testing::Test {
protected:
    void SetUp() override {
        volumes.setVolume("/media/cle/", FakeVolume{DriveType::Removable});
        eject.setDrive("/media/cle");
    }

    FakeVolumes volumes;
    FakeDiskEjector ejector;
    TDiskEject eject{volumes, ejector};
};
} // namespace

TEST_F(DiskEjectTest, EjectedReadsWhetherAMediumIsReadable) {
    EXPECT_FALSE(eject.Ejected());
    volumes.volume("/media/cle/")->freeBytes = -1;
    EXPECT_TRUE(eject.Ejected());
    eject.setDrive("/media/other");
    EXPECT_TRUE(eject.Ejected());
}

TEST_F(DiskEjectTest, WritingTrueEjectsThePresentMedium) {
    eject.setEjected(true);
    EXPECT_EQ(ejector.ejectedRoots, QStringList({"/media/cle/"}));
    eject.setEjected(false);
    EXPECT_EQ(ejector.ejectedRoots.size(), 1) << "writing false does nothing";
    EXPECT_TRUE(eject.setProperty("Ejected", QVariant(true)));
    EXPECT_EQ(ejector.ejectedRoots.size(), 2);
}

TEST_F(DiskEjectTest, WritingTrueWithoutMediumRaises) {
    volumes.removeVolume("/media/cle/");
    try {
        eject.setEjected(true);
        FAIL() << "no medium must raise";
    } catch (const EDiskEject& error) {
        EXPECT_EQ(error.text(), "No disk in drive!");
    }
    EXPECT_TRUE(ejector.ejectedRoots.isEmpty());
}

TEST_F(DiskEjectTest, EjectOutcomes) {
    EXPECT_TRUE(eject.Eject());
    ejector.outcome = EjectOutcome::Failed;
    EXPECT_FALSE(eject.Eject());
    ejector.outcome = EjectOutcome::Unsupported;
    try {
        eject.Eject();
        FAIL() << "an unsupported system must raise";
    } catch (const EDiskEject& error) {
        EXPECT_EQ(error.text(), "Operating System not supported!");
    }
    eject.setDrive("");
    ejector.ejectedRoots.clear();
    EXPECT_FALSE(eject.Eject());
    EXPECT_TRUE(ejector.ejectedRoots.isEmpty()) << "no drive, nothing ejected";
}

TEST_F(DiskEjectTest, OnlyRemovableVolumesAreEverUnmounted) {
    volumes.setVolume("/", FakeVolume{DriveType::Fixed});
    volumes.setVolume("/srv/partage/", FakeVolume{DriveType::Network});
    for (const char* drive : {"/", "/srv/partage", "/media/cle/sous-dossier"}) {
        eject.setDrive(drive);
        EXPECT_FALSE(eject.Eject()) << drive;
    }
    eject.setDrive("/");
    eject.setEjected(true); // a readable medium: no error, and still no eject
    EXPECT_TRUE(ejector.ejectedRoots.isEmpty()) << ejector.ejectedRoots.join(' ').toStdString();

    eject.setDrive("/media/cle/");
    EXPECT_TRUE(eject.Eject());
    EXPECT_EQ(ejector.ejectedRoots, QStringList({"/media/cle/"}));
}

TEST(WholeDiskDevice, PartitionsMapToTheirDisk) {
    EXPECT_EQ(wholeDiskDevice("/dev/sdb1"), "/dev/sdb");
    EXPECT_EQ(wholeDiskDevice("/dev/sdab12"), "/dev/sdab");
    EXPECT_EQ(wholeDiskDevice("/dev/mmcblk0p1"), "/dev/mmcblk0");
    EXPECT_EQ(wholeDiskDevice("/dev/nvme0n1p2"), "/dev/nvme0n1");
    EXPECT_EQ(wholeDiskDevice("/dev/sdb"), "/dev/sdb");
    EXPECT_EQ(wholeDiskDevice("/dev/sr0"), "/dev/sr0");
    EXPECT_EQ(wholeDiskDevice("/dev/fd0"), "/dev/fd0");
}
