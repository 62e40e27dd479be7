#include "SyntheticPe.h"
#include "engine/ZipMsg.h"
#include "engine/sfx/EngineBridge.h"
#include "tests/companions/sfx/SfxTestZip.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

// The engine's side of the bridge: properties, message path, EraseFile and host.
struct BridgeEngine {
    QString zipFileName, sfxPath, dllDirectory, caption, defaultDir, commandLine, message;
    SFXOpts options;
    OvrOpts overWrite = OvrConfirm;
    QByteArray icon;
    THowToDelete howToDelete = htdAllowUndo;
    ScriptedUserHost userHost;
    QList<int> shown;
    QStringList erased;
    int listings = 0;

    QString ZipFileName() const { return zipFileName; }
    void setZipFileName(const QString& name) {
        zipFileName = name;
        ++listings;
    }
    QString SFXPath() const { return sfxPath; }
    void setSFXPath(const QString& path) { sfxPath = path; }
    QString DLLDirectory() const { return dllDirectory; }
    QString SFXCaption() const { return caption; }
    void setSFXCaption(const QString& v) { caption = v; }
    QString SFXDefaultDir() const { return defaultDir; }
    void setSFXDefaultDir(const QString& v) { defaultDir = v; }
    QString SFXCommandLine() const { return commandLine; }
    void setSFXCommandLine(const QString& v) { commandLine = v; }
    QString SFXMessage() const { return message; }
    void setSFXMessage(const QString& v) { message = v; }
    SFXOpts SFXOptions() const { return options; }
    void setSFXOptions(SFXOpts v) { options = v; }
    OvrOpts SFXOverWriteMode() const { return overWrite; }
    void setSFXOverWriteMode(OvrOpts v) { overWrite = v; }
    QByteArray SFXIcon() const { return icon; }
    void setSFXIcon(const QByteArray& v) { icon = v; }
    THowToDelete HowToDelete() const { return howToDelete; }
    void ShowZipMessage(int id, const QString&) { shown << id; }
    int EraseFile(const QString& name, THowToDelete how) {
        erased << name;
        return how == htdAllowUndo && QFile::remove(name) ? 0 : -1;
    }
    IUserHost& host() { return userHost; }
};

} // namespace

TEST(EngineBridge, RoundTripThroughTheEngineProperties) {
    QTemporaryDir dir;
    QFile stub(dir.filePath(QStringLiteral("stub.bin")));
    ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
    stub.write(sfxtest::buildPe({}));
    stub.close();
    QFile zip(dir.filePath(QStringLiteral("a.zip")));
    ASSERT_TRUE(zip.open(QIODevice::WriteOnly));
    const QByteArray zipBytes = QByteArray::fromStdString(testzip::build({{"x.txt", "x"}}));
    zip.write(zipBytes);
    zip.close();

    BridgeEngine engine;
    engine.zipFileName = zip.fileName();
    engine.sfxPath = stub.fileName();
    engine.caption = QStringLiteral("Titre");
    engine.defaultDir = QStringLiteral("><");
    engine.options = SFXAutoRun | SFXCheckSize;
    engine.overWrite = OvrAlways;
    ASSERT_EQ(runConvertToExe(engine, false), 0);
    EXPECT_EQ(engine.zipFileName, dir.filePath(QStringLiteral("a.exe")));
    EXPECT_EQ(engine.listings, 1);
    EXPECT_EQ(engine.erased, QStringList{zip.fileName()});
    EXPECT_EQ(engine.userHost.busyDepth, 0); // shown and hidden again

    engine.caption.clear();
    engine.options = {};
    engine.overWrite = OvrNever;
    ASSERT_EQ(runConvertToZip(engine), 0);
    EXPECT_EQ(engine.zipFileName, zip.fileName());
    EXPECT_EQ(engine.caption, QStringLiteral("Titre"));
    EXPECT_EQ(engine.options, SFXOpts(SFXAutoRun | SFXCheckSize));
    EXPECT_EQ(engine.overWrite, OvrAlways);
    EXPECT_EQ(engine.icon.size(), 766);
    QFile back(engine.zipFileName);
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), zipBytes);
}

TEST(EngineBridge, FailuresGoThroughTheEngineMessagePath) {
    BridgeEngine engine;
    engine.zipFileName = QStringLiteral("/nonexistent/b.zip");
    EXPECT_EQ(runConvertToExe(engine, false), -9);
    EXPECT_EQ(engine.shown, QList<int>{GE_NoZipSpecified});
    EXPECT_EQ(engine.listings, 0);
}
