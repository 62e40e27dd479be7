// The engine on sets of files on a fixed drive: the directory read across
// volumes, extraction from a set, and Add writing a set.
#include "SpanTestSupport.h"

#include "engine/ZipEngine.h"
#include "engine/span/WriteSpan.h"
#include "platform/Volumes.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace brx;
using namespace brx::spantest;

namespace {

class EngineSet : public testing::Test {
protected:
    EngineSet() : engine(&host, &systemVolumes()) {
        engine.setUnattended(true);
        engine.setDLLDirectory(qEnvironmentVariable("BRX_BIN_DIR"));
        engine.OnMessage = [this](int code, const QString& text) {
            messages << QStringLiteral("%1 %2").arg(code).arg(text);
        };
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    bool haveLibraries() const {
        const QDir bin(qEnvironmentVariable("BRX_BIN_DIR"));
        return bin.exists("ZIPDLL.DLL") && bin.exists("UNZDLL.DLL");
    }

    int span(const QString& source, const QString& first, qint64 maxVolume,
             qint64 minFree = 65536) {
        FakeSpanEvents events;
        SpanSettings settings;
        settings.MaxVolumeSize = maxVolume;
        settings.MinFreeVolumeSize = minFree;
        SpanContext context{systemVolumes(), host, events, settings, {}};
        return WriteSpan(context, source, first);
    }

    // Every file under folder, by relative path.
    static QMap<QString, QByteArray> filesUnder(const QString& folder) {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            files.insert(QDir(folder).relativeFilePath(file), readAll(file));
        }
        return files;
    }

    QTemporaryDir dir;
    ScriptedUserHost host;
    TZipEngine engine;
    QStringList messages;
};

TEST_F(EngineSet, DirectoryIsReadAcrossVolumesFromTheLastOne) {
    const QString source = path("source.zip");
    ASSERT_TRUE(makeArchive(source, 0, 70'000, 3));
    const QByteArray bytes = readAll(source);
    const qsizetype end = bytes.lastIndexOf(QByteArray("PK\x05\x06", 4));
    const qint64 directory = getLe32(bytes, static_cast<int>(end) + 16);
    // Volume 1 ends 100 bytes into the directory: its second header moves on.
    ASSERT_EQ(span(source, path("dir.zip"), directory + 4 + 100, 100), 0);
    ASSERT_TRUE(QFile::exists(path("dir002.zip")));
    ASSERT_FALSE(QFile::exists(path("dir003.zip")));

    engine.setZipFileName(path("dir002.zip"));
    EXPECT_EQ(engine.ErrCode(), 0) << qPrintable(messages.join('\n'));
    EXPECT_TRUE(engine.IsSpanned());
    ASSERT_EQ(engine.Count(), 5);
    EXPECT_EQ(engine.ZipContents()[1].FileName, "data/part0.bin");
    EXPECT_EQ(engine.ZipContents()[4].FileName, "notes/with extra.txt");
    EXPECT_EQ(engine.ZipContents()[4].DiskNumberStart, 0);
}

TEST_F(EngineSet, ExtractFromTheLastVolumeGivesTheOriginalFiles) {
    if (!haveLibraries() || !haveTool("unzip"))
        GTEST_SKIP() << "compression libraries or unzip missing";
    const QString source = path("source.zip");
    ASSERT_TRUE(makeArchive(source, 2'500'000, 620'000, 4));
    ASSERT_EQ(span(source, path("name.zip"), 1'000'000), 0);
    ASSERT_EQ(runTool("unzip", {"-q", source, "-d", path("expected")}).exitCode, 0);

    engine.setZipFileName(path("name003.zip"));
    ASSERT_EQ(engine.Count(), 6);
    QDir().mkpath(path("out"));
    engine.setExtrBaseDir(path("out"));
    engine.setExtrOptions(ExtrDirNames | ExtrOverWrite);
    engine.Extract();
    EXPECT_EQ(engine.SuccessCnt(), 6) << qPrintable(messages.join('\n'));
    const auto expected = filesUnder(path("expected"));
    ASSERT_EQ(expected.size(), 6);
    EXPECT_TRUE(filesUnder(path("out")) == expected);
}

TEST_F(EngineSet, AddWithDiskSpanWritesASetFromTheLibrarysArchive) {
    if (!haveLibraries()) GTEST_SKIP() << "compression libraries missing";
    QDir().mkpath(path("in"));
    ASSERT_TRUE(makeArchive(path("seed.zip"), 0, 70'000, 3));
    for (const QString name : {"a.bin", "b.bin"})
        writeAll(path("in/" + name),
                 readAll(path("seed.zip")).mid(name == "a.bin" ? 0 : 1000, 150'000));
    const QString current = QDir::currentPath();
    QDir::setCurrent(path("in"));
    engine.setMaxVolumeSize(100'000);
    engine.setAddOptions(AddDiskSpan);
    engine.setAddCompLevel(0);
    engine.setFSpecArgs({"a.bin", "b.bin"});
    engine.setZipFileName(path("added.zip"));
    engine.Add();
    QDir::setCurrent(current);
    EXPECT_GT(engine.SuccessCnt(), 0) << qPrintable(messages.join('\n'));
    ASSERT_TRUE(QFile::exists(path("added003.zip")));
    EXPECT_FALSE(QFile::exists(path("added.zip")));
    EXPECT_EQ(QFileInfo(path("added001.zip")).size(), 100'000);
    QList<QByteArray> set;
    for (int i = 1;
         QFile::exists(path(QStringLiteral("added%1.zip").arg(i, 3, 10, QLatin1Char('0')))); ++i)
        set.append(readAll(path(QStringLiteral("added%1.zip").arg(i, 3, 10, QLatin1Char('0')))));
    EXPECT_EQ(checkSetLayout(set), QStringList());
}

} // namespace
