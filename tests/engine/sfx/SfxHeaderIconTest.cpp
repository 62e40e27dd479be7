#include "IconFiles.h"
#include "SyntheticPe.h"
#include "engine/sfx/IconConvert.h"
#include "engine/sfx/PeIcon.h"
#include "engine/sfx/SfxHeader.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace brx;

TEST(SfxHeaderBuild, EmptyStringsGiveTwelveBytes) {
    SfxProperties props;
    props.caption.clear();
    const QByteArray h = buildMpvHeader(props);
    ASSERT_EQ(h.size(), 12);
    EXPECT_TRUE(h.startsWith("MPV"));
    EXPECT_EQ(h[4], 0);
    EXPECT_EQ(h[5], 1);
    EXPECT_EQ(h[6], 12);
    EXPECT_EQ(h[7], 0);
    EXPECT_EQ(h.mid(8), QByteArray(4, '\0'));
}

TEST(SfxHeaderBuild, StringsAreCountedAndPaddedToFourBytes) {
    SfxProperties props;
    props.caption = QStringLiteral("Été");
    props.defaultDir = QStringLiteral("><");
    props.commandLine = QStringLiteral("a");
    props.message = QString();
    const QByteArray h = buildMpvHeader(props);
    EXPECT_EQ(mpvHeaderSize(props), 20); // 12 + 6, rounded up
    ASSERT_EQ(h.size(), 20);
    EXPECT_EQ(h.mid(8, 4), QByteArray("\x03\xc9t\xe9", 4)); // code page 1252
    EXPECT_EQ(h.mid(12, 3), QByteArray("\x02><"));
    EXPECT_EQ(h.mid(15, 2), QByteArray("\x01"
                                       "a"));
    EXPECT_EQ(h[17], 0);
}

TEST(SfxHeaderBuild, OptionBitsFollowOptionsAndOverwriteMode) {
    SfxProperties props;
    EXPECT_EQ(headerOptionBits(props), 0x20); // no size check
    props.options = SFXCheckSize;
    EXPECT_EQ(headerOptionBits(props), 0x00);
    props.options = SFXAskCmdLine | SFXAskFiles | SFXHideOverWriteBox | SFXAutoRun |
                    SFXNoSuccessMsg | SFXCheckSize;
    props.overWriteMode = OvrAlways;
    EXPECT_EQ(headerOptionBits(props), 0x01 | 0x02 | 0x04 | 0x08 | 0x40 | 0x80);
    props.overWriteMode = OvrNever;
    EXPECT_EQ(headerOptionBits(props) & 0x18, 0x10);
}

TEST(SfxHeaderBuild, LengthLimitIs255Characters) {
    SfxProperties props;
    props.caption = QString(255, QLatin1Char('c'));
    EXPECT_FALSE(headerStringsTooLong(props));
    props.message = QString(256, QLatin1Char('m'));
    EXPECT_TRUE(headerStringsTooLong(props));
}

TEST(SfxHeaderRead, NewerHeaderRoundTrips) {
    SfxProperties written;
    written.caption = QStringLiteral("Installation");
    written.defaultDir = QStringLiteral("C:\\Prog");
    written.commandLine = QStringLiteral("><PROG\\SETUP.EXE");
    written.message = QStringLiteral("\x02"
                                     "Bienvenue");
    written.options = SFXAskFiles | SFXAutoRun | SFXNoSuccessMsg;
    written.overWriteMode = OvrNever;
    SfxProperties read;
    ASSERT_TRUE(readSfxHeader(QByteArray("stub tail") + buildMpvHeader(written), read));
    EXPECT_EQ(read.caption, written.caption);
    EXPECT_EQ(read.defaultDir, written.defaultDir);
    EXPECT_EQ(read.commandLine, written.commandLine);
    EXPECT_EQ(read.message, written.message);
    EXPECT_EQ(read.options, written.options);
    EXPECT_EQ(read.overWriteMode, OvrNever);
}

TEST(SfxHeaderRead, OlderHeaderLeavesTheMessageAlone) {
    SfxProperties props;
    props.message = QStringLiteral("kept");
    const QByteArray mpu =
        QByteArray("MPU") + char(0x08 | 0x40 | 0x80) + char(2) + char(1) + char(3) + "TiDcmd";
    ASSERT_TRUE(readSfxHeader(mpu, props));
    EXPECT_EQ(props.caption, QStringLiteral("Ti"));
    EXPECT_EQ(props.defaultDir, QStringLiteral("D"));
    EXPECT_EQ(props.commandLine, QStringLiteral("cmd"));
    EXPECT_EQ(props.message, QStringLiteral("kept"));
    EXPECT_EQ(props.overWriteMode, OvrAlways);
    EXPECT_EQ(props.options, SFXOpts(SFXAutoRun | SFXCheckSize)); // bit 7 means nothing in MPU
    EXPECT_FALSE(readSfxHeader(QByteArray("no header"), props));
}

TEST(StubIcon, FoundInTheResourceTree) {
    const IconLocation icon = findStubIcon(sfxtest::buildPe({}));
    EXPECT_EQ(icon.result, IconSearch::Found);
    EXPECT_EQ(icon.fileOffset, sfxtest::kIconDataOffset);
}

TEST(StubIcon, MissingWhenNoResourcesOrAnotherSize) {
    EXPECT_EQ(findStubIcon(sfxtest::buildPe({false})).result, IconSearch::NoIcon);
    EXPECT_EQ(findStubIcon(sfxtest::buildPe({true, 296})).result, IconSearch::NoIcon);
    EXPECT_EQ(findStubIcon(QByteArray(500, 'x')).result, IconSearch::NotPe);
    QByteArray badSignature = sfxtest::buildPe({});
    badSignature[0x81] = 'X';
    EXPECT_EQ(findStubIcon(badSignature).result, IconSearch::NotPe);
    // A resource offset pointing past the file must not be followed.
    QByteArray broken = sfxtest::buildPe({});
    sfxtest::put32(broken, 0x600 + 28, 0x80000000u | 0x7FFFFF00u);
    EXPECT_EQ(findStubIcon(broken).result, IconSearch::NoIcon);
}

TEST(StubIcon, FirstIconOfAnySizeBecomesAnIcoFile) {
    const auto ico = firstIconAsIco(sfxtest::buildPe({true, 296}));
    ASSERT_TRUE(ico);
    EXPECT_EQ(ico->size(), 22 + 296);
    EXPECT_EQ(quint8(ico->at(6)), 32);
    EXPECT_EQ(quint8(ico->at(8)), 16);
    EXPECT_FALSE(firstIconAsIco(sfxtest::buildPe({false})));
}

TEST(StubIcon, RealStubCarriesTheReplaceableIcon) {
    QFile stub(qEnvironmentVariable("BRX_BIN_DIR") + QStringLiteral("/ZIPSFX.BIN"));
    if (!stub.open(QIODevice::ReadOnly)) GTEST_SKIP() << "ZIPSFX.BIN was not built";
    const QByteArray bytes = stub.readAll();
    const quint32 pe = qFromLittleEndian<quint32>(bytes.constData() + 60);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + pe + 20), 224);
    EXPECT_EQ(findStubIcon(bytes).result, IconSearch::Found);
}

TEST(IconConversion, StubFormIsKeptAsItIs) {
    const QByteArray once =
        toStubIcon(sfxtest::makeIco(16, 8, [](int, int) { return 0xFFFF0000u; }));
    ASSERT_EQ(once.size(), kIconFileSize);
    EXPECT_EQ(toStubIcon(once), once);
}

TEST(IconConversion, SmallEightBitIconIsScaledAndMasked) {
    // Left half opaque red, right half transparent.
    const QByteArray ico =
        toStubIcon(sfxtest::makeIco(16, 8, [](int x, int) { return x < 8 ? 0xFFFF0000u : 0u; }));
    ASSERT_EQ(ico.size(), kIconFileSize);
    const char* image = ico.constData() + 22;
    EXPECT_EQ(qFromLittleEndian<quint32>(image + 4), 32u);
    EXPECT_EQ(qFromLittleEndian<quint16>(image + 14), 4);
    const char* colours = image + 40 + 64;
    const char* mask = colours + 512;
    // Red (255,0,0) is palette index 9; the first byte holds two left pixels.
    EXPECT_EQ(quint8(colours[0]), 0x99);
    EXPECT_EQ(quint8(mask[0]), 0x00); // left 8 pixels opaque
    EXPECT_EQ(quint8(mask[2]), 0xFF); // pixels 16-23 transparent
}

TEST(IconConversion, AlphaChannelGivesTheMask) {
    // 48 x 48, 32 bits: opaque blue top half, transparent bottom half.
    const QByteArray ico = toStubIcon(
        sfxtest::makeIco(48, 32, [](int, int y) { return y < 24 ? 0xFF0000FFu : 0x000000FFu; }));
    ASSERT_EQ(ico.size(), kIconFileSize);
    const char* colours = ico.constData() + 22 + 104;
    const char* mask = colours + 512;
    EXPECT_EQ(quint8(colours[31 * 16]), 0xCC); // top row (stored last) is blue, index 12
    EXPECT_EQ(quint8(mask[31 * 4]), 0x00);
    EXPECT_EQ(quint8(mask[0]), 0xFF); // bottom row transparent
}

TEST(IconConversion, UndecodableIconGivesNothing) {
    EXPECT_TRUE(toStubIcon(QByteArray("not an icon")).isEmpty());
    QByteArray png = sfxtest::makeIco(16, 8, [](int, int) { return 0xFF000000u; });
    png.replace(22, 4, "\x89PNG");
    EXPECT_TRUE(toStubIcon(png).isEmpty());
}
