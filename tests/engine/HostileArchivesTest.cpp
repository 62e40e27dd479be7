// The table of odd and hostile archives through the engine: its directory
// reader must list what every other reader lists, and the self-extractor
// conversions must carry every entry there and back.

#include "EngineFixture.h"
#include "HostileArchives.h"
#include "engine/sfx/ArchiveLayout.h"
#include "engine/sfx/SfxConvert.h"

namespace brx::test {
namespace {

using ziptest::HostileArchive;
using ziptest::hostileArchives;

QStringList listedNames(const HostileArchive& c) {
    QStringList names;
    for (const std::string& name : c.listed) names.append(QString::fromStdString(name));
    return names;
}

class HostileArchivesTest : public EngineFixture {
protected:
    QStringList engineNames() const {
        QStringList names;
        for (const ZipDirEntry& e : engine.ZipContents()) names.append(e.FileName);
        return names;
    }
};

TEST_F(HostileArchivesTest, DirectoryReaderListsWhatEveryReaderLists) {
    for (const HostileArchive& c : hostileArchives()) {
        SCOPED_TRACE(c.id);
        messages.clear();
        engine.setZipFileName(
            writeFile(QStringLiteral("t.zip"), QByteArray::fromStdString(c.bytes)));
        if (!c.readable) {
            EXPECT_EQ(engine.Count(), 0);
            EXPECT_TRUE(engine.ZipFileName().isEmpty());
            EXPECT_FALSE(messages.isEmpty()); // refused with a message, never silently
            continue;
        }
        ASSERT_EQ(size_t(engine.Count()), c.listedCount);
        if (!c.listed.empty()) EXPECT_EQ(engineNames(), listedNames(c));
    }
}

TEST_F(HostileArchivesTest, WrappedCountIsReadInFullNotAsOneEntry) {
    const auto& table = hostileArchives();
    const auto wrapped = std::find_if(
        table.begin(), table.end(), [](const HostileArchive& c) { return c.listedCount > 65535; });
    ASSERT_NE(wrapped, table.end());
    engine.setZipFileName(
        writeFile(QStringLiteral("w.zip"), QByteArray::fromStdString(wrapped->bytes)));
    ASSERT_EQ(engine.Count(), 65537);
    EXPECT_EQ(engine.ZipContents().last().FileName, QStringLiteral("f65536"));
}

// ConvertToExe then ConvertToZip: the entries that went in come back, and a
// refused archive leaves its file where it was.
TEST_F(HostileArchivesTest, SelfExtractorConversionsKeepEveryEntry) {
    const QString stub = writeFile(QStringLiteral("stub.bin"), QByteArray(4096, 'S'));
    for (const HostileArchive& c : hostileArchives()) {
        if (c.listedCount > 1000) continue; // the wrapped count is read above
        SCOPED_TRACE(c.id);
        const QByteArray original = QByteArray::fromStdString(c.bytes);
        SfxConvertContext ctx;
        ctx.zipFileName = writeFile(QStringLiteral("conv.zip"), original);
        ctx.sfxPath = stub;
        ctx.showMessage = [](int, const QString&) {};
        const int toExe = ConvertToExe(ctx);
        if (!c.readable) {
            EXPECT_NE(toExe, 0);
            QFile kept(dir.filePath(QStringLiteral("conv.zip")));
            ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
            EXPECT_EQ(kept.readAll(), original);
            continue;
        }
        ASSERT_EQ(toExe, 0);
        ASSERT_EQ(ConvertToZip(ctx), 0);
        QFile back(ctx.zipFileName);
        ASSERT_TRUE(back.open(QIODevice::ReadOnly));
        int errorId = 0;
        const auto layout = readArchiveLayout(back, errorId);
        ASSERT_TRUE(layout.has_value()) << errorId;
        EXPECT_EQ(layout->entries.size(), c.listedCount);
        engine.setZipFileName(ctx.zipFileName);
        EXPECT_EQ(engineNames(), listedNames(c));
    }
}

} // namespace
} // namespace brx::test
