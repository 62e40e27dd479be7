#include "platform/ElfSection.h"
#include "platform/VersionBlock.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

VersionBlockContent fullContent() {
    VersionBlockContent c;
    c.fileVersion[0] = 1;
    c.fileVersion[1] = 5;
    const char* const keys[] = {"CompanyName",  "FileDescription", "FileVersion",
                                "InternalName", "LegalCopyright",  "OriginalFilename",
                                "ProductName",  "ProductVersion"};
    for (const char* key : keys) c.strings.append({key, QString("value of ") + key});
    return c;
}

QString programFile() {
    return qEnvironmentVariable("BRX_BIN_DIR") + "/BRX_EXPLO";
}

} // namespace

TEST(VersionBlock, EveryKeyReadsBackFromItsPosition) {
    const QByteArray block = buildVersionBlock(fullContent());
    for (int k = 0; k < 8; ++k) {
        const VersionKey key = VersionKey(k);
        EXPECT_EQ(versionValue(block, key), "value of " + versionKeyName(key));
    }
    EXPECT_EQ(versionKeyName(VersionKey::FileVersion), "FileVersion");
}

TEST(VersionBlock, MissingValueOrTranslationGivesEmpty) {
    VersionBlockContent onlyFile;
    onlyFile.strings = {{"FileVersion", "1.5.0.0"}, {"Comments", ""}};
    const QByteArray block = buildVersionBlock(onlyFile);
    EXPECT_EQ(versionValue(block, VersionKey::FileVersion), "1.5.0.0");
    EXPECT_EQ(versionValue(block, VersionKey::ProductVersion), "");

    // The string table is looked up by the first translation only.
    VersionBlockContent english = fullContent();
    english.language = 0x0409;
    QByteArray other = buildVersionBlock(english);
    EXPECT_EQ(versionValue(other, VersionKey::ProductName), "value of ProductName");
    other.replace(QByteArray("0\0004\0000\0009\0", 8), QByteArray("0\0004\0000\000C\0", 8));
    EXPECT_EQ(versionValue(other, VersionKey::ProductName), "")
        << "a table that does not match the translation is not read";
    EXPECT_EQ(versionValue(QByteArray(), VersionKey::FileVersion), "");
}

TEST(VersionBlock, CutOrCorruptedBlocksNeverOverRead) {
    const QByteArray block = buildVersionBlock(fullContent());
    for (qsizetype n = 0; n < block.size(); ++n) {
        // A copy of exactly n bytes, so the sanitizers see any read past it.
        const QByteArray cut(block.constData(), n);
        const QString value = versionValue(cut, VersionKey::ProductVersion);
        EXPECT_TRUE(value.isEmpty() || value == "value of ProductVersion");
    }
    for (qsizetype at = 0; at < block.size(); at += 2) {
        QByteArray bad = block;
        bad[at] = char(0xff);
        bad[at + 1] = char(0xff);
        versionValue(bad, VersionKey::FileVersion);
    }
}

TEST(VersionBlock, TheBuiltProgramCarriesTheProjectVersion) {
    ASSERT_TRUE(QFile::exists(programFile()));
    EXPECT_EQ(versionTextOf(programFile(), VersionKey::FileVersion), BRX_FILE_VERSION);
    EXPECT_EQ(versionTextOf(programFile(), VersionKey::ProductName), "BRX_EXPLO");
}

TEST(VersionBlock, AProgramWithoutTheSectionGivesEmpty) {
    QTemporaryDir dir;
    const QString stripped = dir.filePath("stripped");
    ASSERT_EQ(QProcess::execute("objcopy",
                                {"--remove-section", kVersionSection, programFile(), stripped}),
              0);
    EXPECT_EQ(versionTextOf(stripped, VersionKey::FileVersion), "");
    EXPECT_EQ(versionTextOf(dir.filePath("missing"), VersionKey::FileVersion), "");
}

TEST(VersionBlock, ATruncatedProgramGivesEmptyWithoutACrash) {
    QFile in(programFile());
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray whole = in.readAll();
    QTemporaryDir dir;
    const QString cut = dir.filePath("cut");
    // Cuts through the headers, the middle, inside the section and just
    // before the section headers at the end.
    for (const qsizetype size : {qsizetype(0), qsizetype(10), qsizetype(63), whole.size() / 2,
                                 whole.size() - 100, whole.size() - 1}) {
        QFile out(cut);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(whole.left(size));
        out.close();
        EXPECT_EQ(versionTextOf(cut, VersionKey::FileVersion), "") << "size " << size;
    }
}
