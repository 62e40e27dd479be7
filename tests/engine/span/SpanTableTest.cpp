// The table of odd and hostile archives through the volume copier: a set
// written from an archive and joined back holds every entry the other
// readers list, or the copy is refused with a message.

#include "HostileArchives.h"
#include "ZipBuilder.h"
#include "SpanTestSupport.h"

#include "engine/span/ReadSpan.h"
#include "engine/span/WriteSpan.h"
#include "platform/Volumes.h"
#include "tests/fakes/ScriptedUserHost.h"
#include "zipcore/EntryName.h"
#include "zipcore/ZipReader.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace brx;
using namespace brx::spantest;

namespace {

std::vector<std::string> namesIn(const QByteArray& bytes) {
    zipcore::MemoryInput input(bytes.constData(), size_t(bytes.size()));
    zipcore::ZipDirectory dir;
    std::vector<std::string> names;
    if (!zipcore::readDirectory(input, dir).ok) return names;
    for (const zipcore::ZipEntry& entry : dir.entries)
        names.push_back(zipcore::entryNameUtf8(entry));
    return names;
}

TEST(SpanTable, SetsCarryEveryListedEntryOrAreRefused) {
    for (const ziptest::HostileArchive& c : ziptest::hostileArchives()) {
        if (c.listedCount > 1000) continue;
        SCOPED_TRACE(c.id);
        QTemporaryDir dir;
        ScriptedUserHost host;
        FakeSpanEvents events;
        SpanSettings settings;
        settings.MaxVolumeSize = 600; // several volumes for the larger cases
        settings.MinFreeVolumeSize = 100;
        const QString source = dir.filePath(QStringLiteral("source.zip"));
        ASSERT_TRUE(writeAll(source, QByteArray::fromStdString(c.bytes)));
        SpanContext context{systemVolumes(), host, events, settings, {}};
        const int written = WriteSpan(context, source, dir.filePath(QStringLiteral("set.zip")));
        if (written != 0) {
            EXPECT_LT(written, 0);
            EXPECT_FALSE(events.reports.isEmpty()); // never refused in silence
            continue;
        }
        EXPECT_TRUE(c.readable) << "a set was written from an unreadable archive";
        const QStringList volumes = QDir(dir.path()).entryList({QStringLiteral("set*.zip")});
        ASSERT_FALSE(volumes.isEmpty());
        QString target = dir.filePath(QStringLiteral("joined.zip"));
        ASSERT_EQ(ReadSpan(context, dir.filePath(volumes.last()), target), 0);
        EXPECT_EQ(namesIn(readAll(target)), c.listed);
    }
}

} // namespace

TEST(SpanTable, Zip64ArchivesAreRefusedBeforeAnyVolumeIsWritten) {
    QTemporaryDir dir;
    ScriptedUserHost host;
    FakeSpanEvents events;
    SpanSettings settings;
    const QString source = dir.filePath(QStringLiteral("source.zip"));
    const std::string bytes =
        ziptest::buildZip({{.name = "a.txt", .data = "alpha", .zip64 = true}}, {.zip64End = true});
    ASSERT_TRUE(writeAll(source, QByteArray::fromStdString(bytes)));
    SpanContext context{systemVolumes(), host, events, settings, {}};
    EXPECT_LT(WriteSpan(context, source, dir.filePath(QStringLiteral("set.zip"))), 0);
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("set*")}).isEmpty());
    ASSERT_FALSE(events.reports.isEmpty());
    EXPECT_TRUE(events.reports.constLast().text.contains(QStringLiteral("Zip64")))
        << events.reports.constLast().text.toStdString();
}
