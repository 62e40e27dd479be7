#include "ZipBuilder.h"
#include "zipcore/ByteOrder.h"
#include "zipcore/Crc32.h"
#include "zipcore/EntryName.h"
#include "zipcore/SafePath.h"

#include <gtest/gtest.h>

using namespace zipcore;

TEST(SafePath, KeepsOrdinaryNamesInsideTheFolder) {
    EXPECT_EQ(confineEntryName("a/b/c.txt", true).path, "a/b/c.txt");
    EXPECT_EQ(confineEntryName("./a//b/./c", true).path, "a/b/c");
    EXPECT_EQ(confineEntryName("dos\\style\\name.txt", true).path, "dos/style/name.txt");
    EXPECT_EQ(confineEntryName("a/b/c.txt", false).path, "c.txt");
    EXPECT_EQ(confineEntryName("..hidden..name", true).path, "..hidden..name");
    const SafeName folder = confineEntryName("a/b/", true);
    EXPECT_TRUE(folder.ok && folder.isDirectory);
    EXPECT_EQ(folder.path, "a/b");
    EXPECT_TRUE(confineEntryName("a/b/", false).path.empty());
}

TEST(SafePath, RefusesNamesThatLeaveTheFolder) {
    for (const char* name :
         {"../evil", "a/../../evil", "a/b/..", "/etc/passwd", "\\evil", "..\\..\\evil",
          "a\\..\\..\\evil", "C:/Windows/evil", "c:evil", "//server/share/x", ""}) {
        EXPECT_FALSE(confineEntryName(name, true).ok) << name;
        EXPECT_FALSE(confineEntryName(name, false).ok) << name;
    }
    EXPECT_FALSE(confineEntryName(std::string("a\0b", 3), true).ok);
    EXPECT_FALSE(confineEntryName(std::string(300, 'x'), true).ok);
}

TEST(SafePath, AcceptsOnlyLinksThatPointInside) {
    EXPECT_TRUE(linkStaysInside("a/link", "target"));
    EXPECT_TRUE(linkStaysInside("a/link", "../b/target"));
    EXPECT_TRUE(linkStaysInside("a/b/link", "../../top"));
    EXPECT_FALSE(linkStaysInside("link", "../outside"));
    EXPECT_FALSE(linkStaysInside("a/link", "../../outside"));
    EXPECT_FALSE(linkStaysInside("link", "/etc/passwd"));
    EXPECT_FALSE(linkStaysInside("link", "sub/../../outside"));
    // ".." after a named folder climbs out of wherever that folder leads,
    // even with room above the link.
    EXPECT_FALSE(linkStaysInside("a/b/link", "sub/../x"));
    EXPECT_FALSE(linkStaysInside("link", "C:\\x"));
    EXPECT_FALSE(linkStaysInside("link", ""));
}

TEST(EntryName, ReadsUtf8FlagsUnicodeExtraAndTheDosCodePage) {
    ZipEntry entry;
    entry.name = "caf\x82.txt"; // é in code page 850
    EXPECT_EQ(entryNameUtf8(entry), "caf\xc3\xa9.txt");
    entry.name = "caf\xc3\xa9.txt";
    // From MS-DOS the code-page rule holds even for bytes that happen to be
    // valid UTF-8 (the engine lists them so); from Unix they stand as they are.
    EXPECT_EQ(entryNameUtf8(entry), "caf\xe2\x94\x9c\xc2\xae.txt");
    entry.versionMadeBy = 0x0314;
    EXPECT_EQ(entryNameUtf8(entry), "caf\xc3\xa9.txt"); // already UTF-8
    entry.flags = 0x0800;
    entry.name = "\xff\xfe";
    EXPECT_EQ(entryNameUtf8(entry), "\xff\xfe"); // flagged UTF-8 is never converted

    ZipEntry withExtra;
    withExtra.name = "caf\x82";
    const std::string unicode = "caf\xc3\xa9";
    std::string body = "\x01";
    append32(body, crc32Update(0, withExtra.name.data(), withExtra.name.size()));
    body += unicode;
    append16(withExtra.extra, 0x7075);
    append16(withExtra.extra, static_cast<uint16_t>(body.size()));
    withExtra.extra += body;
    EXPECT_EQ(entryNameUtf8(withExtra), unicode);
    withExtra.name = "other"; // the field no longer belongs to this name
    EXPECT_EQ(entryNameUtf8(withExtra), "other");
}
