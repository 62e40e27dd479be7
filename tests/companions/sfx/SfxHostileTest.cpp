// The table of odd and hostile archives through the stub's reader: it must
// see the entries every other reader sees, behind a stub or not.

#include "HostileArchives.h"
#include "SfxArchive.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(SfxHostile, StubReaderListsTheTable) {
    char path[] = "/tmp/brx-sfx-hostile-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    for (const ziptest::HostileArchive& c : ziptest::hostileArchives()) {
        SCOPED_TRACE(c.id);
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << c.bytes;
        }
        sfxcore::SfxArchive archive(path);
        const sfxcore::SfxArchive::Status status = archive.open();
        if (!c.readable) {
            EXPECT_EQ(status, sfxcore::SfxArchive::Status::NoArchive);
            continue;
        }
        ASSERT_EQ(status, sfxcore::SfxArchive::Status::Ok);
        ASSERT_EQ(archive.entries().size(), c.listedCount);
        for (size_t i = 0; i < c.listed.size(); ++i)
            EXPECT_EQ(archive.entries()[i].name, c.listed[i]);
        // Entries whose data the table extracts are complete here too.
        for (const sfxcore::ArchiveEntry& entry : archive.entries()) {
            if (!c.extracted.count(entry.name)) continue;
            EXPECT_TRUE(
                zipcore::locateEntryData(archive.input(), archive.directory(), entry.record).ok)
                << entry.name;
        }
    }
    std::remove(path);
}
