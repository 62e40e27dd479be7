// Sets written as name001.zip, name002.zip... in a temporary folder on a
// fixed drive, the split forced by MaxVolumeSize.
#include "SpanTestSupport.h"

#include "engine/span/ReadSpan.h"
#include "engine/span/SpanEndRecord.h"
#include "engine/span/WriteSpan.h"
#include "platform/Volumes.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace brx;
using namespace brx::spantest;

namespace {

class FixedSet : public testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    int write(const QString& source, const QString& first) {
        SpanContext context{systemVolumes(), m_host, m_events, m_settings, {}};
        return WriteSpan(context, source, first);
    }

    int read(const QString& volume, QString& target) {
        SpanContext context{systemVolumes(), m_host, m_events, m_settings, {}};
        return ReadSpan(context, volume, target);
    }

    QList<QByteArray> volumes(const QString& base, int count) const {
        QList<QByteArray> list;
        for (int i = 1; i <= count; ++i)
            list.append(readAll(
                path(QStringLiteral("%1%2.zip").arg(base).arg(i, 3, 10, QLatin1Char('0')))));
        return list;
    }

    int lastReportId() const { return m_events.reports.isEmpty() ? 0 : m_events.reports.last().id; }

    QTemporaryDir m_dir;
    ScriptedUserHost m_host;
    FakeSpanEvents m_events;
    SpanSettings m_settings;
};

TEST_F(FixedSet, ArchiveOf2500000BytesMakesThreeVolumesThatJoinBackUnchanged) {
    const QString source = path("source.zip");
    ASSERT_TRUE(makeArchive(source, 2'500'000, 620'000, 4));
    ASSERT_EQ(QFileInfo(source).size(), 2'500'000);
    m_settings.MaxVolumeSize = 1'000'000;

    ASSERT_EQ(write(source, path("name.zip")), 0);
    EXPECT_TRUE(m_events.reports.isEmpty());
    EXPECT_FALSE(QFile::exists(path("name004.zip")));
    const QList<QByteArray> set = volumes("name", 3);
    // Headers fall inside volumes here, so the data is split at the exact byte.
    EXPECT_EQ(set[0].size(), 1'000'000);
    EXPECT_EQ(set[1].size(), 1'000'000);
    EXPECT_EQ(set[2].size(), 500'004);
    EXPECT_EQ(checkSetLayout(set), QStringList());
    EXPECT_EQ((set[0] + set[1] + set[2]).mid(4, 1'000'000), readAll(source).left(1'000'000));
    EXPECT_EQ(QFileInfo(path("name002.zip")).lastModified(), QFileInfo(source).lastModified());
    EXPECT_EQ(m_events.endOfBatch, 1);
    EXPECT_TRUE(m_events.messages.contains("Copying: data/part2.bin"));

    QString target = m_dir.path();
    ASSERT_EQ(read(path("name003.zip"), target), 0);
    EXPECT_TRUE(target.startsWith(m_dir.path() + "/zip") && target.endsWith(".zip"))
        << qPrintable(target);
    EXPECT_EQ(readAll(target), readAll(source)); // same offsets once the set's signature is gone
    if (haveTool("unzip")) {
        EXPECT_EQ(runTool("unzip", {"-tq", target}).exitCode, 0);
    }
    if (haveTool("7zz")) {
        EXPECT_EQ(runTool("7zz", {"t", target}).exitCode, 0);
    }
}

TEST_F(FixedSet, PeerToolsReadTheSetItself) {
    if (!haveTool("zip") || !haveTool("unzip")) GTEST_SKIP() << "zip/unzip not installed";
    const QString source = path("source.zip");
    ASSERT_TRUE(makeArchive(source, 0, 70'000, 3));
    m_settings.MaxVolumeSize = 80'000;
    m_settings.MinFreeVolumeSize = 1000;
    ASSERT_EQ(write(source, path("peer.zip")), 0);
    // The other tools name the volumes peer.z01, peer.z02, ... and peer.zip.
    QDir(m_dir.path()).mkdir("renamed");
    const QList<QByteArray> set = volumes("peer", 3);
    ASSERT_FALSE(QFile::exists(path("peer004.zip")));
    writeAll(path("renamed/peer.z01"), set[0]);
    writeAll(path("renamed/peer.z02"), set[1]);
    writeAll(path("renamed/peer.zip"), set[2]);
    const ToolRun join =
        runTool("zip", {"-s", "0", "peer.zip", "--out", "joined.zip"}, path("renamed"));
    EXPECT_EQ(join.exitCode, 0) << qPrintable(join.output);
    EXPECT_EQ(runTool("unzip", {"-tq", path("renamed/joined.zip")}).exitCode, 0);
    if (haveTool("7zz")) {
        const ToolRun test = runTool("7zz", {"t", "peer.zip"}, path("renamed"));
        EXPECT_EQ(test.exitCode, 0) << qPrintable(test.output);
    }
}

TEST_F(FixedSet, LocalHeaderThatWouldBeSplitStartsTheNextVolume) {
    const QString source = path("source.zip");
    ASSERT_TRUE(makeArchive(source, 0, 70'000, 3));
    const QByteArray bytes = readAll(source);
    // The local header of the first 70,000-byte part (the third entry).
    const qsizetype header =
        bytes.indexOf(QByteArray("PK\x03\x04", 4), bytes.indexOf("data/part1.bin") - 30);
    ASSERT_GT(header, 70'000);
    // Volume 1 would end 10 bytes into that header (4 bytes of signature come first).
    m_settings.MaxVolumeSize = header + 4 + 10;
    m_settings.MinFreeVolumeSize = 100;
    ASSERT_EQ(write(source, path("fit.zip")), 0) << m_events.reports.value(0).id;
    const QByteArray first = readAll(path("fit001.zip"));
    EXPECT_EQ(first.size(), header + 4);
    EXPECT_TRUE(readAll(path("fit002.zip")).startsWith(QByteArray("PK\x03\x04", 4)));
    int count = 0;
    while (QFile::exists(path(QStringLiteral("fit%1.zip").arg(count + 1, 3, 10, QLatin1Char('0')))))
        ++count;
    EXPECT_EQ(checkSetLayout(volumes("fit", count)), QStringList());
    QString target = path("joined.zip");
    ASSERT_EQ(read(path(QStringLiteral("fit%1.zip").arg(count, 3, 10, QLatin1Char('0'))), target),
              0);
    EXPECT_EQ(readAll(target), bytes);
}

TEST_F(FixedSet, FirstVolumeKeepsRoomAndDescriptorsAreCopied) {
    const QString source = path("source.zip");
    ASSERT_TRUE(makeArchive(source, 0, 70'000, 3, true));
    m_settings.MaxVolumeSize = 100'000;
    m_settings.KeepFreeOnDisk1 = 30'000;
    ASSERT_EQ(write(source, path("keep.zip")), 0);
    EXPECT_EQ(QFileInfo(path("keep001.zip")).size(), 70'000);
    EXPECT_EQ(QFileInfo(path("keep002.zip")).size(), 100'000);
    EXPECT_EQ(QFileInfo(path("keep003.zip")).size(), QFileInfo(source).size() + 4 - 170'000);
    EXPECT_EQ(checkSetLayout(volumes("keep", 3)), QStringList());
    QString target = path("out.bin"); // a file target gets the .zip extension
    ASSERT_EQ(read(path("keep003.zip"), target), 0);
    EXPECT_EQ(target, path("out.zip"));
    EXPECT_EQ(readAll(target), readAll(source));
}

TEST_F(FixedSet, WrongVolumeGivenTellsWhichFileOfTheSetItIs) {
    const QString source = path("source.zip");
    ASSERT_TRUE(makeArchive(source, 0, 70'000, 3));
    m_settings.MaxVolumeSize = 80'000;
    m_settings.MinFreeVolumeSize = 1000;
    ASSERT_EQ(write(source, path("name.zip")), 0);
    ASSERT_TRUE(QFile::exists(path("name003.zip")));

    QString target = m_dir.path();
    EXPECT_EQ(read(path("name002.zip"), target), -7);
    EXPECT_EQ(lastReportId(), 11038);
    EXPECT_TRUE(m_events.reports.last().text.startsWith("This is the 2th disk"));
    EXPECT_TRUE(target.isEmpty());

    target = m_dir.path();
    EXPECT_EQ(read(path("name001.zip"), target), -7);
    EXPECT_EQ(lastReportId(), 11045);
    EXPECT_TRUE(QDir(m_dir.path()).entryList({"zip*"}).isEmpty()); // no partial output left

    // The directory reader's strict search says the same of each file.
    const auto idOf = [&](const QString& name) {
        try {
            findSpanEndRecord(path(name), {}, EndSearchMode::Strict, m_events);
        } catch (const EZipEngine& e) {
            return e.ResourceId();
        }
        return 0;
    };
    EXPECT_EQ(idOf("name001.zip"), 11045);
    EXPECT_EQ(idOf("name002.zip"), 11038);
    EXPECT_EQ(idOf("name003.zip"), 0);
    EXPECT_EQ(idOf("missing.zip"), 11001);
}

TEST_F(FixedSet, DamagedOrMissingVolumeFailsWithoutLeavingOutput) {
    const QString source = path("source.zip");
    ASSERT_TRUE(makeArchive(source, 0, 70'000, 3));
    m_settings.MaxVolumeSize = 80'000;
    m_settings.MinFreeVolumeSize = 1000;
    ASSERT_EQ(write(source, path("name.zip")), 0);
    const QByteArray middle = readAll(path("name002.zip"));
    writeAll(path("name002.zip"), middle.left(middle.size() / 2));
    QString target = path("joined.zip");
    EXPECT_EQ(read(path("name003.zip"), target), -7);
    EXPECT_TRUE(target.isEmpty());
    EXPECT_FALSE(QFile::exists(path("joined.zip")));

    QFile::remove(path("name002.zip"));
    target = path("joined.zip");
    EXPECT_EQ(read(path("name003.zip"), target), -7);
    EXPECT_EQ(lastReportId(), 11001);
}

TEST_F(FixedSet, CancelledOrFailedWriteKeepsTheVolumesWrittenSoFar) {
    const QString source = path("source.zip");
    ASSERT_TRUE(makeArchive(source, 0, 70'000, 3));
    m_settings.MaxVolumeSize = 80'000;
    m_settings.MinFreeVolumeSize = 1000;
    m_events.cancelAfterBytes = 100'000; // cancelled on the second volume
    EXPECT_EQ(write(source, path("name.zip")), -7);
    ASSERT_FALSE(m_events.reports.isEmpty());
    EXPECT_EQ(m_events.reports.last().id, 11007);
    EXPECT_FALSE(m_events.reports.last().shown);
    EXPECT_EQ(QFileInfo(path("name001.zip")).size(), 80'000);
    EXPECT_TRUE(QFile::exists(path("name002.zip")));
    EXPECT_EQ(QFileInfo(path("name002.zip")).lastModified(), QFileInfo(source).lastModified());
    EXPECT_FALSE(QFile::exists(path("name003.zip")));
    EXPECT_EQ(m_events.endOfBatch, 1);

    EXPECT_EQ(write(path("absent.zip"), path("other.zip")), -7);
    EXPECT_EQ(lastReportId(), 11001);
    EXPECT_FALSE(QFile::exists(path("other001.zip")));

    writeAll(path("notzip.zip"), QByteArray(5000, 'x'));
    EXPECT_EQ(write(path("notzip.zip"), path("bad.zip")), -7);
    EXPECT_EQ(lastReportId(), 11036);
    EXPECT_EQ(m_host.busyDepth, 0); // the cursor came back after every failure
}

} // namespace
