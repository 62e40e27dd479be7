// brxzip sfx / unsfx / span: the archive changes form and keeps its entries.

#include "CliRunner.h"
#include "ZipBuilder.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace brx::test {
namespace {

class CliConvertTest : public CliTest {
protected:
    QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");

    // The source archive of a conversion goes to the trash: keep it in the test folder.
    void SetUp() override { qputenv("XDG_DATA_HOME", path("data").toUtf8()); }
    void TearDown() override { qputenv("XDG_DATA_HOME", savedDataHome); }

    void makeArchive(const QString& name, int randomBytes) {
        QByteArray random(randomBytes, '\0');
        QRandomGenerator gen(11);
        for (char& c : random) c = char(gen.bounded(256));
        writeFile("src/random.bin", random);
        writeFile("src/text.txt", QByteArray("du texte à compresser\n").repeated(5000));
        ASSERT_EQ(run({"add", "-r", name, "src"}).exitCode, 0);
    }

    // The last volume written for the first volume name base + ".zip".
    QString lastVolume(const QString& base) {
        QString last;
        for (int n = 1;; ++n) {
            const QString name =
                QStringLiteral("%1%2.zip").arg(base).arg(n, 3, 10, QLatin1Char('0'));
            if (!QFileInfo::exists(path(name))) return last;
            last = name;
        }
    }
};

TEST_F(CliConvertTest, ZipToExeAndBackKeepsEntriesAndHeader) {
    if (!QFileInfo::exists(QDir(qEnvironmentVariable("BRX_BIN_DIR")).filePath("ZIPSFX.BIN")))
        GTEST_SKIP() << "the self-extractor stub was not built";
    makeArchive("a.zip", 50000);
    const QString listing = run({"list", "a.zip"}).out;

    const CliResult sfx = run({"sfx", "--caption", "Mon installation", "--dir", "><", "--message",
                               "1Installer ?", "--command", "><\\setup.exe", "--options",
                               "autorun,nosuccessmsg", "--overwrite", "always", "a.zip"});
    ASSERT_EQ(sfx.exitCode, 0) << sfx.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("a.zip")));
    EXPECT_TRUE(readFile("a.exe").startsWith("MZ"));
    EXPECT_EQ(run({"list", "a.exe"}).out, listing);
    EXPECT_EQ(run({"test", "a.exe"}).exitCode, 0);
    if (QFileInfo::exists("/usr/bin/unzip")) {
        EXPECT_TRUE(runTool("unzip", {"-tq", "a.exe"}));
    }

    const CliResult unsfx = run({"unsfx", "a.exe"});
    ASSERT_EQ(unsfx.exitCode, 0) << unsfx.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("a.exe")));
    EXPECT_EQ(run({"list", "a.zip"}).out, listing);
    ASSERT_EQ(run({"extract", "-d", "out", "a.zip"}).exitCode, 0);
    EXPECT_EQ(readFile("out/src/random.bin"), readFile("src/random.bin"));
}

TEST_F(CliConvertTest, SfxRefusesWhatItCannotConvert) {
    writeFile("plain.txt", "not an archive");
    EXPECT_NE(run({"sfx", "missing.zip"}).exitCode, 0);
    EXPECT_NE(run({"sfx", "--overwrite", "sometimes", "plain.txt"}).exitCode, 0);
    EXPECT_NE(run({"sfx", "--options", "fly", "plain.txt"}).exitCode, 0);
    EXPECT_NE(run({"unsfx", "plain.txt"}).exitCode, 0);
    EXPECT_EQ(readFile("plain.txt"), "not an archive");
}

TEST_F(CliConvertTest, SpanWritesVolumesThatReadBackAsOneArchive) {
    makeArchive("big.zip", 400000);
    QDir(dir.path()).mkpath("vol");
    const CliResult span = run({"span", "-s", "150K", "big.zip", "vol/set.zip"});
    ASSERT_EQ(span.exitCode, 0) << span.err.toStdString();
    // Every volume but the last is filled to the byte.
    QStringList volumes;
    for (int n = 1;
         QFileInfo::exists(path(QStringLiteral("vol/set%1.zip").arg(n, 3, 10, QLatin1Char('0'))));
         ++n)
        volumes.append(QStringLiteral("vol/set%1.zip").arg(n, 3, 10, QLatin1Char('0')));
    ASSERT_GE(volumes.size(), 3);
    for (int i = 0; i + 1 < volumes.size(); ++i)
        EXPECT_EQ(QFileInfo(path(volumes[i])).size(), 150 * 1024) << volumes[i].toStdString();
    const QString last = volumes.last();

    EXPECT_EQ(run({"list", last}).out, run({"list", "big.zip"}).out);
    EXPECT_EQ(run({"test", last}).exitCode, 0);
    ASSERT_EQ(run({"extract", "-d", "out", last}).exitCode, 0);
    EXPECT_EQ(readFile("out/src/random.bin"), readFile("src/random.bin"));
    EXPECT_EQ(readFile("out/src/text.txt"), readFile("src/text.txt"));

    EXPECT_EQ(run({"span", "-s", "lots", "big.zip", "vol/x.zip"}).exitCode, 3);
    EXPECT_EQ(run({"span", "big.zip"}).exitCode, 3);
}

bool stubBuilt() {
    return QFileInfo::exists(QDir(qEnvironmentVariable("BRX_BIN_DIR")).filePath("ZIPSFX.BIN"));
}

TEST_F(CliConvertTest, ConversionsDeleteTheSourceForGood) {
    if (!stubBuilt()) GTEST_SKIP() << "the self-extractor stub was not built";
    makeArchive("a.zip", 1000);
    ASSERT_EQ(run({"sfx", "a.zip"}).exitCode, 0);
    ASSERT_EQ(run({"unsfx", "a.exe"}).exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(path("a.zip")));
    EXPECT_FALSE(QFileInfo::exists(path("data/Trash/files/a.zip")));
    EXPECT_FALSE(QFileInfo::exists(path("data/Trash/files/a.exe")));
}

TEST_F(CliConvertTest, SfxRefusesAVolumeOfASet) {
    if (!stubBuilt()) GTEST_SKIP() << "the self-extractor stub was not built";
    makeArchive("big.zip", 200000);
    ASSERT_EQ(run({"span", "-s", "100K", "big.zip", "set.zip"}).exitCode, 0);
    const QString volume = lastVolume("set");
    ASSERT_NE(volume, QStringLiteral("set001.zip"));
    const QByteArray bytes = readFile(volume);
    const CliResult sfx = run({"sfx", volume});
    EXPECT_EQ(sfx.exitCode, 1);
    EXPECT_TRUE(sfx.err.contains(volume + QStringLiteral(" is a volume of a multi-volume set")))
        << sfx.err.toStdString();
    EXPECT_EQ(readFile(volume), bytes);
    EXPECT_FALSE(QFileInfo::exists(path(QFileInfo(volume).completeBaseName() + ".exe")));
    EXPECT_EQ(run({"test", volume}).exitCode, 0);
}

TEST_F(CliConvertTest, SpanExplainsItselfAndReplacesVolumesOnlyWhenTold) {
    makeArchive("big.zip", 200000);
    const CliResult first = run({"span", "-s", "100K", "big.zip", "set.zip"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.err.contains(QStringLiteral("writes numbered files on a fixed disk")));
    EXPECT_TRUE(first.err.contains(QStringLiteral("set001.zip")));
    EXPECT_TRUE(first.err.contains(QStringLiteral("at least 65536 bytes")));

    writeFile("set001.zip", "an older volume");
    const CliResult again = run({"span", "-s", "100K", "big.zip", "set.zip"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("set001.zip already exists: give -o")))
        << again.err.toStdString();
    EXPECT_EQ(readFile("set001.zip"), "an older volume");

    const CliResult replaced = run({"span", "-o", "-s", "100K", "big.zip", "set.zip"});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_EQ(run({"list", lastVolume("set")}).out, run({"list", "big.zip"}).out);

    const CliResult tiny = run({"span", "-s", "1K", "big.zip", "tiny.zip"});
    EXPECT_EQ(tiny.exitCode, 3);
    EXPECT_TRUE(tiny.err.contains(QStringLiteral("at least 65536 bytes")))
        << tiny.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("tiny001.zip")));
}

TEST_F(CliConvertTest, ZipToExeAndBackKeepsZip64RecordsByteForByte) {
    if (!QFileInfo::exists(QDir(qEnvironmentVariable("BRX_BIN_DIR")).filePath("ZIPSFX.BIN")))
        GTEST_SKIP() << "the self-extractor stub was not built";
    std::vector<ziptest::BuildEntry> entries{
        {.name = "a.txt", .data = "alpha alpha", .zip64 = true},
        {.name = "b.txt", .data = std::string(5000, 'b'), .method = 0, .zip64 = true}};
    const QByteArray original =
        QByteArray::fromStdString(ziptest::buildZip(entries, {.zip64End = true}));
    writeFile("z.zip", original);
    ASSERT_EQ(run({"sfx", "z.zip"}).exitCode, 0);
    // The offsets moved by the stub's size, in the Zip64 fields and records too.
    EXPECT_EQ(run({"test", "z.exe"}).exitCode, 0);
    if (QFileInfo::exists("/usr/bin/unzip")) {
        EXPECT_TRUE(runTool("unzip", {"-tq", "z.exe"}));
    }
    ASSERT_EQ(run({"unsfx", "z.exe"}).exitCode, 0);
    EXPECT_EQ(readFile("z.zip"), original);
}

} // namespace
} // namespace brx::test
