// The directory reader on archives crafted byte by byte.

#include "EngineFixture.h"
#include "ZipBytes.h"

namespace brx::test {
namespace {

class DirectoryReaderTest : public EngineFixture {
protected:
    QString listArchive(const QByteArray& bytes, const QString& name = QStringLiteral("a.zip")) {
        const QString path = writeFile(name, bytes);
        engine.setZipFileName(path);
        return path;
    }

    QList<RawEntry> twoEntries() const {
        RawEntry a{"dir/a.txt", "hello"};
        RawEntry b{"b.bin", QByteArray(300, 'x')};
        return {a, b};
    }
};

TEST_F(DirectoryReaderTest, ListsEntriesInArchiveOrderWithTheirFields) {
    QList<int> seqNos;
    engine.OnNewName = [&](int seqNo, const ZipDirEntry&) { seqNos.append(seqNo); };
    listArchive(ZipBytes::archive(twoEntries()));
    ASSERT_EQ(engine.Count(), 2);
    const ZipDirEntry& a = engine.ZipContents()[0];
    EXPECT_EQ(a.FileName, QStringLiteral("dir/a.txt"));
    EXPECT_EQ(a.UncompressedSize, 5u);
    EXPECT_EQ(a.CRC32, 0x12345678u);
    EXPECT_EQ(a.HostSystem, 3);
    EXPECT_EQ(a.LocalHeaderOffset, 0u);
    EXPECT_EQ(engine.ZipContents()[1].LocalHeaderOffset, 30u + 9 + 5);
    EXPECT_EQ(seqNos, (QList<int>{1, 2}));
    EXPECT_EQ(engine.SFXOffset(), 0);
    EXPECT_EQ(dirUpdates, 1);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DirectoryReaderTest, EmptyArchiveAndMissingFile) {
    listArchive(ZipBytes::endRecord(0, 0, 0));
    EXPECT_EQ(engine.Count(), 0);
    EXPECT_EQ(engine.SFXOffset(), 0);
    EXPECT_TRUE(messages.isEmpty());

    engine.setZipFileName(dir.filePath("missing.zip"));
    EXPECT_EQ(engine.Count(), 0);
    EXPECT_EQ(engine.SFXOffset(), 0);
    EXPECT_EQ(dirUpdates, 2);
}

TEST_F(DirectoryReaderTest, SelfExtractorPrefixRebasedOrNot) {
    const QByteArray stub(1000, 'M');
    listArchive(ZipBytes::archive(twoEntries(), {}, stub, true));
    EXPECT_EQ(engine.Count(), 2);
    EXPECT_EQ(engine.SFXOffset(), 1000);
    EXPECT_FALSE(engine.archiveState().structureWarning);

    listArchive(ZipBytes::archive(twoEntries(), {}, stub, false), "b.zip");
    EXPECT_EQ(engine.Count(), 2);
    EXPECT_EQ(engine.SFXOffset(), 1000);
    EXPECT_TRUE(engine.archiveState().structureWarning);
    EXPECT_TRUE(sawMessage(LoadZipStr(LI_WrongZipStruct)));
}

TEST_F(DirectoryReaderTest, ZeroPaddingIsNotGarbageButOtherBytesAre) {
    QByteArray zip = ZipBytes::archive(twoEntries());
    QByteArray padded = zip + QByteArray(512 - zip.size() % 512, '\0');
    listArchive(padded);
    EXPECT_EQ(engine.Count(), 2);
    EXPECT_FALSE(sawMessage(LoadZipStr(LI_GarbageAtEOF)));

    QByteArray garbage = zip + QByteArray(512 - zip.size() % 512, '\x01');
    listArchive(garbage, "g.zip");
    EXPECT_EQ(engine.Count(), 2);
    EXPECT_TRUE(sawMessage(LoadZipStr(LI_GarbageAtEOF)));
    EXPECT_EQ(engine.archiveState().fileEnd, zip.size());
}

TEST_F(DirectoryReaderTest, LongestCommentIsFoundAndOneTooFarIsNot) {
    const QByteArray comment(65535, 'c');
    listArchive(ZipBytes::archive(twoEntries(), comment));
    EXPECT_EQ(engine.Count(), 2);
    EXPECT_EQ(engine.rawZipComment().size(), 65535);

    // A record 65,558 bytes from the end: the comment field says 0, so the
    // bytes after it are not its comment and the search must not reach it.
    QByteArray far = ZipBytes::archive(twoEntries()) + QByteArray(65536, 'z');
    listArchive(far, "far.zip");
    EXPECT_EQ(engine.Count(), 0);
    EXPECT_TRUE(engine.ZipFileName().isEmpty());
    EXPECT_TRUE(sawMessage(LoadZipStr(DS_NoValidZip)));
}

TEST_F(DirectoryReaderTest, EndSignatureInsideTheCommentIsNotTheEndRecord) {
    // The comment holds a complete, plausible end record of its own.
    const QByteArray fake = ZipBytes::endRecord(7, 100, 5);
    listArchive(ZipBytes::archive(twoEntries(), "note " + fake + " end"));
    EXPECT_EQ(engine.Count(), 2);
    EXPECT_TRUE(engine.rawZipComment().startsWith("note "));
    EXPECT_FALSE(sawMessage(LoadZipStr(LI_GarbageAtEOF)));
}

TEST_F(DirectoryReaderTest, CommentStopsAtNulAndIsConverted) {
    RawEntry dosEntry{"x", "1"};
    dosEntry.host = 0;
    listArchive(ZipBytes::archive({dosEntry}, QByteArray("caf\x82\0tail", 9)));
    EXPECT_EQ(engine.ZipComment(), QStringLiteral("café"));
}

TEST_F(DirectoryReaderTest, TooShortAndDamagedFilesFailCleanly) {
    listArchive("PK\x05\x06tiny");
    EXPECT_TRUE(sawMessage(LoadZipStr(DS_NoValidZip)));
    EXPECT_TRUE(engine.ZipFileName().isEmpty());

    QByteArray zip = ZipBytes::archive(twoEntries());
    QByteArray badSig = zip;
    badSig[zip.indexOf("PK\x01\x02") + 2] = 9;
    messages.clear();
    listArchive(badSig, "sig.zip");
    EXPECT_TRUE(sawMessage(LoadZipStr(DS_CEHWrongSig)));
    EXPECT_EQ(engine.SFXOffset(), 0);

    // The end record claims more entries than the directory holds.
    QByteArray more = zip;
    more[more.size() - 22 + 10] = 3;
    more[more.size() - 22 + 8] = 3;
    messages.clear();
    listArchive(more, "more.zip");
    EXPECT_FALSE(messages.isEmpty());
    EXPECT_TRUE(engine.ZipFileName().isEmpty());
    EXPECT_EQ(engine.Count(), 0);
    EXPECT_EQ(engine.ZipContents().size(), 2); // read before the failure
}

TEST_F(DirectoryReaderTest, TruncatedNameAndHugeDirectorySizeFail) {
    RawEntry e{"name.txt", "abc"};
    QByteArray zip = ZipBytes::archive({e});
    // Central name length pointing past the end of the file.
    const qsizetype central = zip.indexOf("PK\x01\x02");
    zip[central + 28] = char(0xFF);
    zip[central + 29] = char(0x7F);
    listArchive(zip);
    EXPECT_TRUE(sawMessage(LoadZipStr(DS_CENameLen)));

    // A directory size larger than the file.
    QByteArray huge = ZipBytes::archive({e});
    huge[huge.size() - 22 + 12] = char(0xFF);
    huge[huge.size() - 22 + 15] = char(0x7F);
    messages.clear();
    listArchive(huge, "huge.zip");
    EXPECT_TRUE(sawMessage(LoadZipStr(LI_ReadZipError)));
    EXPECT_TRUE(engine.ZipFileName().isEmpty());
}

TEST_F(DirectoryReaderTest, SpannedSetVolumesGiveTheirOwnMessages) {
    QByteArray firstVolume("PK\x07\x08PK\x03\x04", 8);
    firstVolume += QByteArray(100, 'd');
    listArchive(firstVolume, "set.zip");
    EXPECT_TRUE(sawMessage(LoadZipStr(DS_FirstFileOnHD)));

    const QString root = dir.path() + QLatin1Char('/');
    volumes.setVolume(root, FakeVolume{DriveType::Removable, QStringLiteral("PKBACK# 001")});
    messages.clear();
    listArchive(firstVolume, "set1.zip");
    EXPECT_TRUE(sawMessage(LoadZipStr(DS_FirstInSet)));

    volumes.setVolume(root, FakeVolume{DriveType::Removable, QStringLiteral("PKBACK# 003")});
    messages.clear();
    listArchive(QByteArray(100, 'd'), "set3.zip");
    EXPECT_TRUE(sawMessage(QStringLiteral("This is the 3th disk")));
}

TEST_F(DirectoryReaderTest, Zip64ArchivesAreRefusedWithAClearMessage) {
    RawEntry e{"big", "x"};
    QByteArray zip = ZipBytes::archive({e});
    QByteArray central = zip.mid(zip.indexOf("PK\x01\x02"));
    central.chop(22);
    QByteArray z64 = zip.left(zip.indexOf("PK\x01\x02")) + central;
    QByteArray locator;
    ZipBytes::put32(locator, 0x07064b50);
    locator += QByteArray(16, '\0');
    z64 += locator + ZipBytes::endRecord(0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
    listArchive(z64);
    EXPECT_TRUE(sawMessage(QStringLiteral("Zip64")));
    EXPECT_TRUE(engine.ZipFileName().isEmpty());
}

TEST_F(DirectoryReaderTest, CodePageRuleForNames) {
    RawEntry dos{"caf\x82", "1"};
    dos.host = 0;
    RawEntry os2{"\x82t\x82", "2"};
    os2.host = 6;
    RawEntry unix{"caf\xc3\xa9", "3"};
    RawEntry flagged{"\xc3\xa9t\xc3\xa9", "4"};
    flagged.host = 0;
    flagged.flags = 1u << 11;
    RawEntry ntfs{"\x82", "5"};
    ntfs.host = 11;
    ntfs.version = 50;
    listArchive(ZipBytes::archive({dos, os2, unix, flagged, ntfs}));
    ASSERT_EQ(engine.Count(), 5);
    EXPECT_EQ(engine.ZipContents()[0].FileName, QStringLiteral("café"));
    EXPECT_EQ(engine.ZipContents()[1].FileName, QStringLiteral("été"));
    EXPECT_EQ(engine.ZipContents()[2].FileName, QStringLiteral("café"));
    EXPECT_EQ(engine.ZipContents()[3].FileName, QStringLiteral("été"));
    EXPECT_EQ(engine.ZipContents()[4].FileName, QStringLiteral("é"));

    engine.setCodePage(cpNone);
    engine.List();
    EXPECT_EQ(engine.ZipContents()[0].FileName, QString::fromLatin1("caf\x82"));
    EXPECT_EQ(engine.ZipContents()[1].FileName, QStringLiteral("été")); // host 6 always
}

TEST_F(DirectoryReaderTest, EncryptedFlagAndEntryComment) {
    RawEntry e{"secret", "zz"};
    e.flags = 1;
    e.comment = "note";
    listArchive(ZipBytes::archive({e}));
    ASSERT_EQ(engine.Count(), 1);
    EXPECT_TRUE(engine.ZipContents()[0].Encrypted);
    EXPECT_EQ(engine.ZipContents()[0].FileComment, QStringLiteral("note"));
}

} // namespace
} // namespace brx::test
