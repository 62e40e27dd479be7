// The conversions as the engine runs them: its properties go in, the
// header's settings and the produced file come back, failures take the
// engine's message path.

#include "SyntheticPe.h"
#include "engine/ZipEngine.h"
#include "engine/base/ZipMsg.h"
#include "tests/companions/sfx/SfxTestZip.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

TEST(EngineConvert, RoundTripThroughTheEngineProperties) {
    QTemporaryDir dir;
    const QString stub = dir.filePath(QStringLiteral("stub.bin"));
    ASSERT_TRUE(writeFile(stub, sfxtest::buildPe({})));
    const QString zip = dir.filePath(QStringLiteral("a.zip"));
    const QByteArray zipBytes = QByteArray::fromStdString(testzip::build({{"x.txt", "x"}}));
    ASSERT_TRUE(writeFile(zip, zipBytes));

    ScriptedUserHost host;
    TZipEngine engine(&host);
    engine.setUnattended(true);
    engine.setHowToDelete(htdFinal);
    int listings = 0;
    engine.OnDirUpdate = [&listings] { ++listings; };
    engine.setZipFileName(zip);
    listings = 0;
    engine.setSFXPath(stub);
    engine.setSFXCaption(QStringLiteral("Titre"));
    engine.setSFXDefaultDir(QStringLiteral("><"));
    engine.setSFXOptions(SFXAutoRun | SFXCheckSize);
    engine.setSFXOverWriteMode(OvrAlways);
    ASSERT_EQ(engine.ConvertToExe(), 0);
    EXPECT_EQ(engine.ZipFileName(), dir.filePath(QStringLiteral("a.exe")));
    EXPECT_EQ(listings, 1);
    EXPECT_EQ(engine.Count(), 1);
    EXPECT_FALSE(QFile::exists(zip)); // erased as HowToDelete says
    EXPECT_EQ(host.busyDepth, 0);     // shown and hidden again

    engine.setSFXCaption(QString());
    engine.setSFXOptions({});
    engine.setSFXOverWriteMode(OvrNever);
    ASSERT_EQ(engine.ConvertToZip(), 0);
    EXPECT_EQ(engine.ZipFileName(), zip);
    EXPECT_EQ(engine.SFXCaption(), QStringLiteral("Titre"));
    EXPECT_EQ(engine.SFXDefaultDir(), QStringLiteral("><"));
    EXPECT_EQ(engine.SFXOptions(), SFXOpts(SFXAutoRun | SFXCheckSize));
    EXPECT_EQ(engine.SFXOverWriteMode(), OvrAlways);
    EXPECT_EQ(engine.SFXIcon().size(), 766);
    QFile back(engine.ZipFileName());
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), zipBytes);
}

TEST(EngineConvert, FailuresGoThroughTheEngineMessagePath) {
    ScriptedUserHost host;
    TZipEngine engine(&host);
    engine.setUnattended(true);
    QStringList messages;
    engine.OnMessage = [&messages](int, const QString& text) { messages << text; };
    int listings = 0;
    engine.OnDirUpdate = [&listings] { ++listings; };
    engine.setZipFileName(QStringLiteral("/nonexistent/b.zip"));
    listings = 0;
    messages.clear();
    EXPECT_EQ(engine.ConvertToExe(), -9);
    EXPECT_EQ(engine.ErrCode(), GE_NoZipSpecified);
    EXPECT_EQ(messages, QStringList{LoadZipStr(GE_NoZipSpecified)});
    EXPECT_EQ(listings, 0);
    EXPECT_EQ(engine.ZipFileName(), QStringLiteral("/nonexistent/b.zip"));
}
