// Properties, the checks before Add, Delete and Extract, and the file helpers.

#include "EngineFixture.h"

#include <QDateTime>
#include <QFileInfo>
#include <stdexcept>

namespace brx::test {
namespace {

class EngineOperationsTest : public EngineFixture {
protected:
    // Progress reporting is back on after a copy that had it off, however
    // the copy ended: true when a block copy reports its bytes again.
    bool progressIsReported() {
        qint64 reported = 0;
        engine.OnProgress = [&](ProgressType type, const QString&, qint64 size) {
            if (type == ProgrUpdate) reported += size;
        };
        QFile in(writeFile("probe.bin", QByteArray(100, 'p')));
        QFile out(dir.filePath("probe.out"));
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        engine.copyBuffer(in, out, -1);
        engine.OnProgress = nullptr;
        return reported == 100;
    }
};

TEST_F(EngineOperationsTest, DefaultsAndSetterRules) {
    EXPECT_EQ(engine.AddCompLevel(), 9);
    EXPECT_EQ(engine.PasswordReqCount(), 1u);
    EXPECT_FALSE(engine.AddStoreSuffixes().testFlag(assEXE));
    EXPECT_TRUE(engine.AddStoreSuffixes().testFlag(assLHA));
    EXPECT_EQ(engine.SFXOptions(), SFXOpts(SFXCheckSize));
    EXPECT_EQ(engine.HowToDelete(), htdAllowUndo);
    EXPECT_EQ(engine.MinFreeVolumeSize(), 65536);
    EXPECT_EQ(engine.SFXPath(), QStringLiteral("ZipSFX.bin"));

    engine.setPasswordReqCount(20);
    EXPECT_EQ(engine.PasswordReqCount(), 15u);
    engine.setDLLDirectory(QStringLiteral("/opt/brx/"));
    EXPECT_EQ(engine.DLLDirectory(), QStringLiteral("/opt/brx"));
    engine.setPassword(QString(300, 'a'));
    EXPECT_EQ(engine.Password().size(), 255);
    engine.setVersionInfo(QStringLiteral("9"));
    EXPECT_EQ(engine.VersionInfo(), QStringLiteral("1.60 K"));
    EXPECT_EQ(engine.Count(), 0);
}

TEST_F(EngineOperationsTest, AddChecksComeBeforeAnyLibraryCall) {
    engine.setDLLDirectory(dir.path()); // no library here: a call would say so
    engine.Add();
    EXPECT_EQ(engine.ErrCode(), AD_NothingToZip);

    engine.setFSpecArgs({"x"});
    engine.Add();
    EXPECT_EQ(engine.ErrCode(), GE_NoZipSpecified);

    engine.setZipFileName(dir.filePath("new.zip"));
    engine.setUnattended(true);
    engine.setAddOptions(AddEncrypt);
    engine.Add();
    EXPECT_EQ(engine.ErrCode(), AD_UnattPassword);

    engine.setAddOptions(AddDiskSpan | AddUpdate);
    engine.Add();
    EXPECT_EQ(engine.ErrCode(), AD_NoFreshenUpdate);

    engine.setAddOptions(AddDiskSpanErase);
    engine.setZipFileName(dir.filePath("new.exe"));
    engine.Add();
    EXPECT_EQ(engine.ErrCode(), DS_NoSFXSpan);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("new.zip")));
    EXPECT_EQ(engine.SuccessCnt(), 0);
    EXPECT_EQ(engine.FSpecArgs(), QStringList{"x"}); // unchanged by a failed check
}

TEST_F(EngineOperationsTest, DeleteAndExtractNeedAnExistingArchive) {
    engine.Delete();
    EXPECT_EQ(engine.ErrCode(), DL_NothingToDel);
    engine.setFSpecArgs({"x"});
    engine.setZipFileName(dir.filePath("none.zip"));
    engine.Delete();
    EXPECT_EQ(engine.ErrCode(), GE_NoZipSpecified);
    engine.ShowZipMessage(AD_NothingToZip);
    engine.Extract();
    EXPECT_EQ(engine.ErrCode(), GE_NoZipSpecified);
}

TEST_F(EngineOperationsTest, CopyFileCheckedKeepsTheDateAndReplacesTheTarget) {
    const QString source = writeFile("src.bin", QByteArray(20000, 's'));
    const QDateTime old = QDateTime::currentDateTime().addDays(-30);
    {
        QFile f(source);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(old, QFileDevice::FileModificationTime);
    }
    const QString dest = writeFile("dest.bin", "previous");
    engine.setHowToDelete(htdFinal);
    int updates = 0;
    engine.OnProgress = [&](ProgressType, const QString&, qint64) { ++updates; };
    EXPECT_EQ(engine.CopyFileChecked(source, dest), 0);
    EXPECT_EQ(QFileInfo(dest).size(), 20000);
    EXPECT_EQ(QFileInfo(dest).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    EXPECT_EQ(updates, 0); // progress is off for a checked copy
    EXPECT_EQ(host.busyDepth, 0);

    EXPECT_EQ(engine.CopyFileChecked(dir.filePath("missing"), dest), -3);
    EXPECT_EQ(engine.CopyFileChecked(source, dir.filePath("no/such/folder/x")), -1);
}

TEST_F(EngineOperationsTest, BlockCopyReportsEachBlock) {
    const QString source = writeFile("blocks.bin", QByteArray(8192 * 2 + 10, 'b'));
    QList<qint64> sizes;
    engine.OnProgress = [&](ProgressType type, const QString&, qint64 size) {
        if (type == ProgrUpdate) sizes.append(size);
    };
    QFile in(source), out(dir.filePath("copy.bin"));
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    EXPECT_EQ(engine.copyBuffer(in, out, 8200), 0);
    EXPECT_EQ(sizes, (QList<qint64>{8192, 8}));
    EXPECT_EQ(engine.copyBuffer(in, out, -1), 0);
    out.close();
    EXPECT_EQ(QFileInfo(out.fileName()).size(), 8192 * 2 + 10);
}

TEST_F(EngineOperationsTest, EveryEarlyEndRestoresProgressAndBusyCursor) {
    const QString source = writeFile("src.bin", "data");
    engine.setHowToDelete(htdFinal);

    EXPECT_EQ(engine.CopyFileChecked(dir.filePath("missing"), dir.filePath("a")), -3);
    EXPECT_TRUE(progressIsReported());
    EXPECT_EQ(engine.CopyFileChecked(dir.path(), dir.filePath("a")), -3); // a folder
    EXPECT_TRUE(progressIsReported());
    EXPECT_EQ(engine.CopyFileChecked(source, dir.filePath("no/such/folder/x")), -1);
    EXPECT_TRUE(progressIsReported());
    EXPECT_EQ(host.busyDepth, 0);

    // A conversion refused at once, and one whose message handler throws.
    engine.setUnattended(true);
    EXPECT_NE(engine.ConvertToExe(), 0);
    EXPECT_TRUE(progressIsReported());
    engine.OnMessage = [](int, const QString&) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(engine.ConvertToExe(), std::runtime_error);
    EXPECT_TRUE(progressIsReported());
    EXPECT_EQ(host.busyDepth, 0);

    // Listing a damaged archive whose message handler throws.
    const QString damaged = writeFile("damaged.zip", QByteArray(64, 'x'));
    EXPECT_THROW(engine.setZipFileName(damaged), std::runtime_error);
    EXPECT_EQ(host.busyDepth, 0);
}

TEST_F(EngineOperationsTest, EraseFileFinalOrMissing) {
    const QString path = writeFile("gone.txt", "x");
    EXPECT_EQ(engine.EraseFile(path, htdFinal), 0);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(engine.EraseFile(path, htdFinal), -1);

    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    writeFile("here.txt", "x");
    EXPECT_EQ(engine.EraseFile(QStringLiteral("here.txt"), htdFinal), 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("here.txt")));
    QDir::setCurrent(saved);
}

} // namespace
} // namespace brx::test
