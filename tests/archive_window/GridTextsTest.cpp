#include "archive_window/GridTexts.h"

#include <gtest/gtest.h>

using namespace brx;

TEST(GridTexts, RatiosRoundHalvesToTheEvenNeighbour) {
    EXPECT_EQ(EntryRatioText(250, 1000), "75% ");
    EXPECT_EQ(EntryRatioText(896, 1024), "12% "); // 12.5
    EXPECT_EQ(EntryRatioText(640, 1024), "38% "); // 37.5
    EXPECT_EQ(EntryRatioText(1016, 1024), "1% "); // 0.78125
    EXPECT_EQ(EntryRatioText(112, 100), "-12% "); // grown
    EXPECT_EQ(EntryRatioText(0, 0), "0% ");
    EXPECT_EQ(EntryRatioText(7, 0), "0% ");
    EXPECT_EQ(EntryRatioText(uint64_t(2) << 30, uint64_t(8) << 30), "75% "); // past 4 GiB
    EXPECT_EQ(TotalRatioText(0, 0), "0 % ");
    EXPECT_EQ(TotalRatioText(1, 8), "88% "); // 87.5
    // Sums past 32 bits keep their ratio.
    EXPECT_EQ(TotalRatioText(3'000'000'000LL, 6'000'000'000LL), "50% ");
}

TEST(GridTexts, NameFolderAndTypeOfAStoredName) {
    EXPECT_EQ(EntryNamePart("Docs/Rapport.TXT"), "Rapport.TXT");
    EXPECT_EQ(EntryFolderPart("Docs/Rapport.TXT"), "Docs/");
    EXPECT_EQ(EntryTypeText("Docs/Rapport.TXT"), ".txt");
    EXPECT_EQ(EntryNamePart("a/b/c"), "c");
    EXPECT_EQ(EntryFolderPart("a/b/c"), "a/b/");
    EXPECT_EQ(EntryTypeText("a/b/c"), "");
    EXPECT_EQ(EntryFolderPart("top.zip"), "");
    // A dot in a folder name is not the entry's type.
    EXPECT_EQ(EntryTypeText("v1.2/LISEZMOI"), "");
    EXPECT_EQ(EntryNamePart("c:drive.txt"), "drive.txt");
}

TEST(GridTexts, DosDatesInTheLocaleFormatsOrEmptyWhenInvalid) {
    const QLocale locale(QLocale::French, QLocale::France);
    const uint32_t date = (uint32_t(2021 - 1980) << 9 | 6 << 5 | 15) << 16;
    const uint32_t time = 14u << 11 | 37u << 5 | 10u;
    EXPECT_EQ(DosDateTimeText(date | time, locale), "15/06/2021  14:37");
    EXPECT_EQ(DosDateTimeText(0, locale), "");                                // day 0, month 0
    EXPECT_EQ(DosDateTimeText(date | (24u << 11), locale), "");               // hour 24
    EXPECT_EQ(DosDateTimeText(((41u << 9 | 2 << 5 | 30) << 16), locale), ""); // 30 February
}
