// The table of odd and hostile archives through the format layer's reader:
// what it lists, and which entries' data it hands out.

#include "HostileArchives.h"
#include "zipcore/EndRecord.h"
#include "zipcore/EntryDecoder.h"
#include "zipcore/EntryName.h"
#include "zipcore/ZipReader.h"

#include <gtest/gtest.h>

using namespace zipcore;
using ziptest::HostileArchive;

TEST(HostileRead, ListsTheTableAndLocatesOnlySoundEntries) {
    for (const HostileArchive& c : ziptest::hostileArchives()) {
        SCOPED_TRACE(c.id);
        MemoryInput input(c.bytes.data(), c.bytes.size());
        ZipDirectory dir;
        const DirectoryResult result = readDirectory(input, dir);
        if (!c.readable) {
            EXPECT_FALSE(result.ok);
            EXPECT_FALSE(result.error.empty());
            continue;
        }
        ASSERT_TRUE(result.ok) << result.error;
        ASSERT_EQ(dir.entries.size(), c.listedCount);
        if (c.listed.empty()) continue;
        for (size_t i = 0; i < dir.entries.size(); ++i) {
            const ZipEntry& entry = dir.entries[i];
            const std::string name = entryNameUtf8(entry);
            EXPECT_EQ(name, c.listed[i]);
            const auto wanted = c.extracted.find(name);
            // Entries the table does not extract with a sound name are the
            // damaged ones: refused here already.
            const bool damaged = wanted == c.extracted.end() &&
                                 name.find("..") == std::string::npos && name.front() != '/' &&
                                 c.id != "duplicate names";
            const DataLocation location = locateEntryData(input, dir, entry);
            if (damaged) {
                EXPECT_TRUE(entry.overlapsAnother || !location.ok) << name;
                continue;
            }
            if (wanted == c.extracted.end()) continue;
            ASSERT_TRUE(location.ok && !entry.overlapsAnother) << name;
            std::string out;
            EntryDecoder decoder(64);
            const DecodeStatus status =
                decoder
                    .decode(input, location.offset, entry, "",
                            [&](const unsigned char* d, size_t n) {
                                out.append(reinterpret_cast<const char*>(d), n);
                                return true;
                            })
                    .status;
            EXPECT_EQ(status, DecodeStatus::Ok) << name;
            EXPECT_EQ(out, wanted->second) << name;
        }
    }
}

TEST(HostileRead, EndRecordInsideACommentNeverWins) {
    // Scanned from the bytes alone: a fake record at the very end of the
    // comment ends the file exactly, like the real one.
    const std::string fake = std::string("PK\5\6", 4) + std::string(18, '\0');
    std::string real = std::string("PK\5\6", 4) + std::string(16, '\0');
    real += static_cast<char>(fake.size() + 1);
    real += '\0';
    const std::string tail = real + "x" + fake;
    const auto at =
        findEndRecordIn(reinterpret_cast<const unsigned char*>(tail.data()), tail.size());
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(*at, 0u);
    // Without a record that ends the file, the nearest one that fits wins;
    // a hit whose comment runs past the end is none.
    const std::string garbage =
        fake + "tail" + std::string("PK\5\6", 4) + std::string(16, '\0') + "\xff\xff";
    const auto nearest =
        findEndRecordIn(reinterpret_cast<const unsigned char*>(garbage.data()), garbage.size());
    ASSERT_TRUE(nearest.has_value());
    EXPECT_EQ(*nearest, 0u);
}

TEST(HostileRead, NamesFollowTheCodePageRule) {
    ZipEntry entry;
    entry.name = "caf\x82";
    entry.versionMadeBy = 0x0014; // MS-DOS
    EXPECT_EQ(entryNameUtf8(entry), "caf\xc3\xa9");
    EXPECT_EQ(entryNameUtf8(entry, CodePageMode::None), "caf\xc2\x82");
    entry.versionMadeBy = 0x0B32; // NTFS, version 5.0
    EXPECT_EQ(entryNameUtf8(entry), "caf\xc3\xa9");
    entry.versionMadeBy = 0x0B14; // NTFS, another version: taken as it stands
    EXPECT_EQ(entryNameUtf8(entry), "caf\xc2\x82");
    EXPECT_EQ(entryNameUtf8(entry, CodePageMode::Oem), "caf\xc3\xa9");
    entry.versionMadeBy = 0x0314;
    entry.name = "caf\xc3\xa9";
    EXPECT_EQ(entryNameUtf8(entry), "caf\xc3\xa9");
}
