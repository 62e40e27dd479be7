// brxzip on real folders and on archives written by other tools.

#include "CliRunner.h"

#include <QRandomGenerator>
#include <QRegularExpression>

namespace brx::test {
namespace {

class CliRoundTripTest : public CliTest {
protected:
    void makeFolder() {
        QByteArray random(70000, '\0');
        QRandomGenerator gen(7);
        for (char& c : random) c = char(gen.bounded(256));
        writeFile("src/random.bin", random);
        writeFile("src/text.txt", QByteArray("line of text\n").repeated(2000));
        writeFile("src/deep/er/été.txt", "accented name");
        writeFile("src/empty.txt", "");
    }

    void expectSameFiles(const QString& extracted) {
        for (const char* name : {"random.bin", "text.txt", "deep/er/été.txt", "empty.txt"})
            EXPECT_EQ(readFile(extracted + "/" + name), readFile(QStringLiteral("src/") + name))
                << name;
    }
};

TEST_F(CliRoundTripTest, AddListTestExtractDelete) {
    makeFolder();
    ASSERT_EQ(run({"add", "-r", "t.zip", "src"}).exitCode, 0);

    const CliResult list = run({"list", "t.zip"});
    ASSERT_EQ(list.exitCode, 0);
    const QRegularExpression line(QStringLiteral(
        R"(^([^\t]+)\t(\d+)\t(\d+)\t([0-9a-f]{8})\t(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)\t([E-])$)"));
    QStringList names;
    for (const QString& l : list.out.split('\n', Qt::SkipEmptyParts)) {
        const auto m = line.match(l);
        ASSERT_TRUE(m.hasMatch()) << l.toStdString();
        names.append(m.captured(1));
        if (m.captured(1) == QLatin1String("src/text.txt")) {
            EXPECT_EQ(m.captured(2), QStringLiteral("26000"));
            EXPECT_LT(m.captured(3).toInt(), 26000);
        }
    }
    EXPECT_TRUE(names.contains(QStringLiteral("src/deep/er/été.txt")));

    EXPECT_EQ(run({"test", "t.zip"}).exitCode, 0);
    ASSERT_EQ(run({"extract", "-d", "out", "t.zip"}).exitCode, 0);
    expectSameFiles(QStringLiteral("out/src"));

    ASSERT_EQ(run({"delete", "t.zip", "src/text.txt"}).exitCode, 0);
    EXPECT_FALSE(run({"list", "t.zip"}).out.contains(QStringLiteral("src/text.txt")));
}

TEST_F(CliRoundTripTest, OverwriteOnlyWhenAskedAndJunkPaths) {
    makeFolder();
    ASSERT_EQ(run({"add", "-r", "-l", "9", "t.zip", "src"}).exitCode, 0);
    writeFile("out/src/text.txt", "mine");
    EXPECT_EQ(run({"extract", "-d", "out", "t.zip", "src/text.txt"}).exitCode, 0);
    EXPECT_EQ(readFile("out/src/text.txt"), QByteArray("mine"));
    EXPECT_EQ(run({"extract", "-o", "-d", "out", "t.zip", "src/text.txt"}).exitCode, 0);
    EXPECT_EQ(readFile("out/src/text.txt"), readFile("src/text.txt"));

    EXPECT_EQ(run({"extract", "-j", "-d", "flat", "t.zip"}).exitCode, 0);
    EXPECT_EQ(readFile("flat/été.txt"), QByteArray("accented name"));
}

TEST_F(CliRoundTripTest, EncryptedEntriesNeedTheirPassword) {
    makeFolder();
    ASSERT_EQ(run({"add", "-r", "-P", "s3cret", "e.zip", "src"}).exitCode, 0);
    const QString listing = run({"list", "e.zip"}).out;
    EXPECT_TRUE(listing.contains(QStringLiteral("src/text.txt\t26000")));
    EXPECT_TRUE(listing.contains(QStringLiteral("\tE\n")));
    EXPECT_EQ(run({"test", "e.zip"}).exitCode, 1);
    EXPECT_EQ(run({"test", "-P", "wrong", "e.zip"}).exitCode, 1);
    EXPECT_EQ(run({"test", "-P", "s3cret", "e.zip"}).exitCode, 0);
    EXPECT_EQ(run({"extract", "-P", "s3cret", "-d", "out", "e.zip"}).exitCode, 0);
    expectSameFiles(QStringLiteral("out/src"));
}

TEST_F(CliRoundTripTest, ReadsArchivesOfOtherTools) {
    makeFolder();
    const bool zip = runTool("zip", {"-qr", "info.zip", "src"});
    const bool sevenZip = runTool("7zz", {"a", "-bd", "seven.zip", "src"});
    const bool python =
        runTool("python3", {"-c", "import zipfile,os\n"
                                  "with zipfile.ZipFile('py.zip','w',zipfile.ZIP_DEFLATED) as z:\n"
                                  "  for r,d,f in os.walk('src'):\n"
                                  "    for n in f: z.write(os.path.join(r,n))\n"});
    if (!zip && !sevenZip && !python) GTEST_SKIP() << "no peer tool installed";
    for (const auto& [made, archive] :
         {std::pair{zip, "info.zip"}, {sevenZip, "seven.zip"}, {python, "py.zip"}}) {
        if (!made) continue;
        SCOPED_TRACE(archive);
        const CliResult list = run({"list", archive});
        EXPECT_EQ(list.exitCode, 0);
        EXPECT_TRUE(list.out.contains(QStringLiteral("src/deep/er/été.txt\t13\t")));
        const QString out = QStringLiteral("x-") + archive;
        EXPECT_EQ(run({"extract", "-d", out, archive}).exitCode, 0);
        expectSameFiles(out + "/src");
    }
}

TEST_F(CliRoundTripTest, CommandLineMistakesAndHelp) {
    const CliResult help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* word : {"list", "add", "extract", "test", "delete", "-x SPEC", "-P PASSWORD"})
        EXPECT_TRUE(help.out.contains(QLatin1String(word))) << word;
    EXPECT_EQ(run({"frobnicate", "a.zip"}).exitCode, 3);
    EXPECT_EQ(run({"add", "-l", "12", "a.zip", "x"}).exitCode, 3);
    EXPECT_EQ(run({"add", "a.zip"}).exitCode, 3);
    EXPECT_EQ(run({"list", "missing.zip"}).exitCode, 2);
    const CliResult nothing = run({"add", "a.zip", "no-such-file"});
    EXPECT_NE(nothing.exitCode, 0);
    EXPECT_FALSE(nothing.err.isEmpty());
}

} // namespace
} // namespace brx::test
