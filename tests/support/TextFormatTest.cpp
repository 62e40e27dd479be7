#include "support/TextFormat.h"
#include "tests/fakes/FakeLocaleInfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

TEST(FormatElapsed, MinutesAndSecondsWithLeadingZeros) {
    EXPECT_EQ(FormatElapsed(1000, 1000), "00:00 Sec.");
    EXPECT_EQ(FormatElapsed(0, 999), "00:00 Sec.");
    EXPECT_EQ(FormatElapsed(0, 7500), "00:07 Sec.");
    EXPECT_EQ(FormatElapsed(0, 59'999), "00:59 Sec.");
    EXPECT_EQ(FormatElapsed(0, 60'000), "01:00 Sec.");
    EXPECT_EQ(FormatElapsed(0, 127'000), "02:07 Sec.");
    EXPECT_EQ(FormatElapsed(0, 6'000'000), "100:00 Sec.") << "no hours are formed";
    EXPECT_EQ(FormatElapsed(0xFFFFFC18u, 1000), "00:02 Sec.") << "tick counter wrapped";
}

TEST(FormatByteSize, UnitsAndThreeSignificantDigits) {
    FakeLocaleInfo comma;
    EXPECT_EQ(FormatByteSize(0, comma), "0 b");
    EXPECT_EQ(FormatByteSize(1023, comma), "1023 b");
    EXPECT_EQ(FormatByteSize(1024, comma), "1 Ko");
    EXPECT_EQ(FormatByteSize(1536, comma), "1,5 Ko");
    EXPECT_EQ(FormatByteSize(10'500, comma), "10,3 Ko");
    EXPECT_EQ(FormatByteSize(1'023'385, comma), "999 Ko");
    EXPECT_EQ(FormatByteSize(1'047'552, comma), "1,02E+03 Ko");
    EXPECT_EQ(FormatByteSize(1'048'576, comma), "1 Mo");
    EXPECT_EQ(FormatByteSize(5'242'880, comma), "5 Mo");
    EXPECT_EQ(FormatByteSize(1'073'741'823, comma), "1,02E+03 Mo");
}

TEST(FormatByteSize, ScientificFromRoundedThousandOn) {
    FakeLocaleInfo dot;
    dot.separator = QLatin1Char('.');
    EXPECT_EQ(FormatByteSize(1'023'488, dot), "1E+03 Ko") << "999.5 rounds to four digits";
    EXPECT_EQ(FormatByteSize(1536, dot), "1.5 Ko") << "the locale's separator";
}

TEST(FormatByteSize, OutOfRangeGivesEmptyText) {
    FakeLocaleInfo comma;
    EXPECT_EQ(FormatByteSize(-1, comma), "");
    EXPECT_EQ(FormatByteSize(1'073'741'824, comma), "");
    EXPECT_EQ(FormatByteSize(5'000'000'000LL, comma), "");
}

TEST(FileSize, TextAndBytesOfRealFiles) {
    QTemporaryDir dir;
    auto make = [&](const QString& name, qint64 size) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.resize(size);
        return file.fileName();
    };
    EXPECT_EQ(FileSizeText(make("a", 2047)), "2047 Octets");
    EXPECT_EQ(FileSizeText(make("b", 2048)), "2 Ko");
    EXPECT_EQ(FileSizeText(make("c", 1'048'575)), "1023 Ko");
    EXPECT_EQ(FileSizeText(make("d", 0)), "0 Octets");
    EXPECT_EQ(FileSizeText(dir.filePath("missing")), " ? ");
    EXPECT_EQ(FileSizeText(dir.path()), "0 Octets") << "a folder is an entry too";

    EXPECT_EQ(FileSizeOf(dir.filePath("c")), 1'048'575);
    EXPECT_EQ(FileSizeOf(dir.filePath("missing")), 0);
    EXPECT_EQ(FileSizeOf(make("big", 3'000'000'000LL)), 3'000'000'000LL) << "sizes beyond 2 GiB";
}

TEST(DatePrefix, DayAndMonthInEitherOrder) {
    const QDate march5(2024, 3, 5);
    EXPECT_EQ(DatePrefix(true, true, march5), "0503");
    EXPECT_EQ(DatePrefix(false, true, march5), "0305");
    EXPECT_EQ(DatePrefix(true, true, QDate(2023, 12, 25)), "2512");
    EXPECT_EQ(DatePrefix(true, false, march5), "");
    EXPECT_EQ(DatePrefix(true, false), "");
    EXPECT_EQ(DatePrefix(false, true).size(), 4);
}
