// The engine driving the real ZIPDLL.DLL and UNZDLL.DLL from bin/: what one
// library writes the other reads back, and the libraries' questions reach
// the engine's events.

#include "EngineFixture.h"

#include <QDir>
#include <brx/ZipDllAbi.h>

namespace brx::test {
namespace {

class RealLibraries : public EngineFixture {
protected:
    RealLibraries() {
        engine.setUnattended(true);
        engine.setDLLDirectory(qEnvironmentVariable("BRX_BIN_DIR"));
        archive = dir.filePath("test.zip");
        QDir(dir.path()).mkpath("out");
    }
    ~RealLibraries() override {
        engine.UnloadZipLibrary();
        engine.UnloadUnzLibrary();
    }

    void add(const QStringList& files, AddOpts options) {
        engine.setZipFileName(archive);
        engine.setAddOptions(options);
        engine.setFSpecArgs(files);
        engine.Add();
    }

    void extract(ExtrOpts options) {
        engine.setZipFileName(archive);
        engine.setExtrOptions(options);
        engine.setExtrBaseDir(dir.filePath("out"));
        engine.Extract();
    }

    QString archive;
};

// Both libraries take the first 80 characters of a longer password, cut
// between characters, so a long password adds and tests alike.
TEST_F(RealLibraries, ALongPasswordAddsAndTestsAlike) {
    const QString source = writeFile("secret.txt", QByteArray(5000, 's'));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    for (const QString& password :
         {QString(100, 'p'), QString(100, QChar(0xE9)), emoji.repeated(100), emoji.repeated(81)}) {
        QFile::remove(archive);
        engine.setPassword(password);
        add({source}, AddEncrypt);
        ASSERT_EQ(engine.SuccessCnt(), 1) << qPrintable(password);
        extract(ExtrTest);
        EXPECT_EQ(engine.SuccessCnt(), 1) << qPrintable(password);
        const QList<uint> characters = password.toUcs4();
        engine.setPassword( // one character short of the limit: another password
            QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), 79));
        extract(ExtrTest);
        EXPECT_EQ(engine.SuccessCnt(), 0) << qPrintable(password);
    }
}

TEST_F(RealLibraries, ANameRepeatedInOneExtractionReachesTheOverwriteEvents) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("a") && QDir(dir.path()).mkpath("b"));
    writeFile("a/x.txt", "first");
    writeFile("b/x.txt", "second");
    add({dir.filePath("a/x.txt"), dir.filePath("b/x.txt")}, AddDirNames);
    ASSERT_EQ(engine.SuccessCnt(), 2);
    QStringList asked, skipped;
    engine.OnExtractOverwrite = [&](const QString& name, bool, bool& overwrite) {
        asked << name;
        overwrite = false;
    };
    engine.OnExtractSkipped = [&](const QString& name, UnZipSkipTypes kind, int) {
        skipped << QStringLiteral("%1 %2").arg(name).arg(kind);
    };
    extract({}); // without folders both entries are x.txt
    EXPECT_EQ(engine.SuccessCnt(), 1);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].endsWith("b/x.txt")) << qPrintable(asked[0]);
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_TRUE(skipped[0].endsWith(QStringLiteral("b/x.txt %1").arg(BRX_SKIP_NO_OVERWRITE)));
    QFile out(dir.filePath("out/x.txt"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), "first");
}

} // namespace
} // namespace brx::test
