#include "engine/span/VolumeNames.h"

#include <gtest/gtest.h>

using namespace brx;

TEST(VolumeNames, NumberTextHasThreeDigitsAndWrapsAtThousand) {
    EXPECT_EQ(volumeNumberText(1), "001");
    EXPECT_EQ(volumeNumberText(42), "042");
    EXPECT_EQ(volumeNumberText(999), "999");
    EXPECT_EQ(volumeNumberText(1000), "000");
}

TEST(VolumeNames, LabelsCarryTheVolumeNumberInElevenCharacters) {
    EXPECT_EQ(volumeLabelFor(1), "PKBACK# 001");
    EXPECT_EQ(volumeLabelFor(12).size(), 11);
    EXPECT_EQ(volumeNumberOfLabel("PKBACK# 007"), 7);
    EXPECT_FALSE(volumeNumberOfLabel("PKBACK# 0x7").has_value());
    EXPECT_FALSE(volumeNumberOfLabel("BACKUP 001").has_value());
}

TEST(VolumeNames, FileNamesInsertOrReplaceTheNumberBeforeTheExtension) {
    EXPECT_EQ(volumeFileNameForWrite("/d/backup.zip", 2), "/d/backup002.zip");
    EXPECT_EQ(volumeFileNameForWrite("/d.x/backup", 3), "/d.x/backup003");
    EXPECT_EQ(volumeFileNameForRead("/d/backup003.zip", 1), "/d/backup001.zip");
    EXPECT_EQ(volumeNumberOfFileName("/d/backup017.zip"), 17);
    EXPECT_FALSE(volumeNumberOfFileName("/d/backup.zip").has_value());
    EXPECT_FALSE(volumeNumberOfFileName("/d/ab.zip").has_value());
}
