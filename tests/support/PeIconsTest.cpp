// Icons read from PE resources: the group icon asked for, its best image,
// and damaged or hostile files that must give nothing without reading
// outside their bytes.

#include "PeFileBuilder.h"
#include "support/PeIcons.h"

#include <QFile>
#include <gtest/gtest.h>

#include <random>

using namespace brx;
using namespace brx::test;

namespace {

uint32_t le(const QByteArray& b, qsizetype at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | uint8_t(b.at(at + i));
    return v;
}

// A one-image .ico whose directory agrees with its size.
void expectOneImageIco(const QByteArray& ico) {
    ASSERT_GE(ico.size(), 22);
    EXPECT_EQ(le(ico, 0, 2), 0u);
    EXPECT_EQ(le(ico, 2, 2), 1u);
    EXPECT_EQ(le(ico, 4, 2), 1u);
    EXPECT_EQ(le(ico, 18, 4), 22u);
    EXPECT_EQ(qsizetype(le(ico, 14, 4)), ico.size() - 22);
}

} // namespace

TEST(PeIcons, TheBest32x32ImageOfTheGroupAskedFor) {
    const QByteArray library = twoIconLibrary();
    const auto first = groupIconAsIco(library, 0);
    ASSERT_TRUE(first.has_value());
    expectOneImageIco(*first);
    EXPECT_EQ(le(*first, 6, 1), 32u);  // width
    EXPECT_EQ(le(*first, 12, 2), 32u); // bit count: the true-colour image
    EXPECT_EQ(first->mid(22), iconImage(32, 32, 0xFF0000));

    const auto second = groupIconAsIco(library, 1);
    ASSERT_TRUE(second.has_value());
    expectOneImageIco(*second);
    EXPECT_EQ(le(*second, 8, 1), 16u); // colour count of the 16-colour image
    EXPECT_EQ(second->mid(22), iconImage(32, 4, 0xFFFF00));

    EXPECT_FALSE(groupIconAsIco(library, 2).has_value());
    EXPECT_FALSE(groupIconAsIco(library, -1).has_value());
}

TEST(PeIcons, WithoutA32x32ImageTheNearestSize) {
    const QByteArray small = iconImage(16, 4, 0x123456);
    const QByteArray big = iconImage(64, 8, 0x654321);
    const QByteArray medium = iconImage(48, 4, 0x101010);
    const QByteArray pe = peFile(
        {{3, 1, small},
         {3, 2, big},
         {3, 3, medium},
         {14, 1, groupIcon({{16, 4, uint32_t(small.size()), 1}, {64, 8, uint32_t(big.size()), 2}})},
         {14, 2,
          groupIcon({{16, 4, uint32_t(small.size()), 1}, {48, 4, uint32_t(medium.size()), 3}})}});
    const auto nearest = groupIconAsIco(pe, 0);
    ASSERT_TRUE(nearest.has_value());
    EXPECT_EQ(nearest->mid(22), small);
    // Equally near: the larger one.
    const auto larger = groupIconAsIco(pe, 1);
    ASSERT_TRUE(larger.has_value());
    EXPECT_EQ(larger->mid(22), medium);
}

TEST(PeIcons, NoIconSourceGivesNothing) {
    EXPECT_FALSE(groupIconAsIco(QByteArray(), 0).has_value());
    EXPECT_FALSE(groupIconAsIco(QByteArray("MZ"), 0).has_value());
    EXPECT_FALSE(groupIconAsIco(QByteArray(4096, 'x'), 0).has_value());
    // A PE file with resources but no group icon, and a group naming an
    // image that is not there.
    const QByteArray image = iconImage(32, 4, 0xFF);
    EXPECT_FALSE(groupIconAsIco(peFile({{3, 1, image}}), 0).has_value());
    EXPECT_FALSE(
        groupIconAsIco(
            peFile({{3, 1, image}, {14, 1, groupIcon({{32, 4, uint32_t(image.size()), 9}})}}), 0)
            .has_value());
}

// Every cut of the file either gives nothing or, once everything needed is
// there, the whole file's answer (ASan checks that no read passes the end).
TEST(PeIcons, TruncatedFilesNeverReadPastTheirEnd) {
    const QByteArray library = twoIconLibrary();
    const auto whole = groupIconAsIco(library, 1);
    ASSERT_TRUE(whole.has_value());
    int found = 0;
    for (qsizetype size = 0; size < library.size(); ++size) {
        const QByteArray cut(library.constData(), size); // a copy: ASan sees its end
        const auto ico = groupIconAsIco(cut, 1);
        if (ico) {
            EXPECT_EQ(*ico, *whole) << "cut at " << size;
            ++found;
        }
    }
    // The second group is the file's last data: no shorter file has it.
    EXPECT_EQ(found, 0);
}

TEST(PeIcons, HostileOffsetsAndCountsGiveNothing) {
    const QByteArray library = twoIconLibrary();
    const qsizetype pe = 64;
    const qsizetype sectionHeader = pe + 24 + 224;
    const qsizetype root = kResourceFileOffset;
    auto patched = [&](qsizetype at, uint32_t value, int size) {
        QByteArray copy = library;
        setLe(copy, at, value, size);
        return copy;
    };
    const QList<QByteArray> hostile = {
        patched(60, 0x7FFFFFF0, 4),                 // PE header far past the end
        patched(60, 0xFFFFFFFF, 4),                 // ... at an offset that wraps
        patched(pe + 6, 0xFFFF, 2),                 // section count past the file
        patched(pe + 24 + 96 + 16, 0x7FFFFFFF, 4),  // resources outside every section
        patched(sectionHeader + 16, 0xFFFFFFFF, 4), // section data larger than the file
        patched(sectionHeader + 20, 0xFFFFFF00, 4), // section data past the end
        patched(root + 14, 0xFFFF, 2),              // root directory entry count
        patched(root + 16 + 4, 0x80000000u, 4),     // a type directory that is the root
        patched(root + 16 + 8 + 4, 0xFFFFFFFF, 4),  // a type directory far away
    };
    for (int i = 0; i < hostile.size(); ++i) {
        const auto first = groupIconAsIco(hostile[i], 0);
        if (first) expectOneImageIco(*first);
        EXPECT_FALSE(groupIconAsIco(hostile[i], 5).has_value()) << "case " << i;
    }
    EXPECT_FALSE(groupIconAsIco(hostile[0], 0).has_value());
    EXPECT_FALSE(groupIconAsIco(hostile[3], 0).has_value());
    EXPECT_FALSE(groupIconAsIco(hostile[5], 0).has_value());

    // A data entry claiming 4 GB: the second group's image.
    QByteArray huge = library;
    const qsizetype yellow = library.lastIndexOf(iconImage(32, 4, 0xFFFF00));
    ASSERT_GT(yellow, root);
    const uint32_t yellowRva = kResourceRva + uint32_t(yellow - root);
    for (qsizetype at = root; at + 8 <= yellow; at += 4) {
        if (le(library, at, 4) == yellowRva) setLe(huge, at + 4, 0xFFFFFFFF, 4);
    }
    EXPECT_NE(huge, library);
    EXPECT_FALSE(groupIconAsIco(huge, 1).has_value());
}

// Random damage anywhere in the file: never a crash or an over-read, and
// whatever comes back is a well-formed one-image .ico.
TEST(PeIcons, RandomDamageIsSurvived) {
    const QByteArray library = twoIconLibrary();
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> position(0, int(library.size()) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = library;
        const int flips = 1 + round % 8;
        for (int i = 0; i < flips; ++i) damaged[position(random)] = char(byte(random));
        for (int index = 0; index < 3; ++index)
            if (const auto ico = groupIconAsIco(damaged, index)) expectOneImageIco(*ico);
    }
}

// The self-extractor stub this project builds carries an icon of its own.
TEST(PeIcons, TheStubsOwnIcon) {
    QFile stub(qEnvironmentVariable("BRX_BIN_DIR") + QStringLiteral("/ZIPSFX.BIN"));
    if (!stub.open(QIODevice::ReadOnly)) GTEST_SKIP() << "ZIPSFX.BIN is not built";
    const auto ico = groupIconAsIco(stub.readAll(), 0);
    ASSERT_TRUE(ico.has_value());
    expectOneImageIco(*ico);
    EXPECT_EQ(le(*ico, 6, 1), 32u);
}
