// brxzip add, delete and extract on existing archives and folders: what is
// added, when nothing changes, and what is reported.

#include "CliRunner.h"
#include "../engine/ZipBytes.h"

#include <QFileInfo>

namespace brx::test {
namespace {

class CliArchiveChangesTest : public CliTest {
protected:
    void makeFolder() {
        writeFile("src/a.txt", "alpha");
        writeFile("src/.profile", "hidden file");
        writeFile("src/.cache/kept.txt", "inside a hidden folder");
        writeFile("src/sub/.dot", "hidden in a subfolder");
    }

    QStringList listedNames(const QString& archive) {
        QStringList names;
        for (const QString& line : run({"list", archive}).out.split('\n', Qt::SkipEmptyParts))
            names.append(line.section('\t', 0, 0));
        return names;
    }
};

TEST_F(CliArchiveChangesTest, HiddenFilesAreAddedUnlessLeftOut) {
    makeFolder();
    ASSERT_EQ(run({"add", "-r", "all.zip", "src"}).exitCode, 0);
    const QStringList all = listedNames("all.zip");
    for (const char* name : {"src/a.txt", "src/.profile", "src/.cache/kept.txt", "src/sub/.dot"})
        EXPECT_TRUE(all.contains(QLatin1String(name))) << name;

    ASSERT_EQ(run({"add", "-r", "--no-hidden", "visible.zip", "src"}).exitCode, 0);
    const QStringList visible = listedNames("visible.zip");
    EXPECT_TRUE(visible.contains(QStringLiteral("src/a.txt")));
    for (const QString& name : visible) EXPECT_FALSE(name.contains("/.")) << name.toStdString();
    EXPECT_TRUE(run({"--help"}).out.contains(QStringLiteral("--no-hidden")));
}

TEST_F(CliArchiveChangesTest, NothingToDoSucceedsAndLeavesTheArchiveAlone) {
    makeFolder();
    ASSERT_EQ(run({"add", "-r", "t.zip", "src"}).exitCode, 0);
    const QByteArray before = readFile("t.zip");
    for (const QStringList& args : {QStringList{"add", "-r", "-u", "t.zip", "src"},
                                    QStringList{"add", "-r", "-f", "t.zip", "src"},
                                    QStringList{"delete", "t.zip", "no/such/entry"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("t.zip: nothing to do"))) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("not created"))) << r.err.toStdString();
        EXPECT_EQ(readFile("t.zip"), before);
    }
    // A real change still goes through.
    writeFile("src/new.txt", "new");
    EXPECT_EQ(run({"add", "-r", "-u", "t.zip", "src"}).exitCode, 0);
    EXPECT_TRUE(listedNames("t.zip").contains(QStringLiteral("src/new.txt")));
}

TEST_F(CliArchiveChangesTest, NothingToAddToAMissingArchiveFails) {
    const CliResult r = run({"add", "new.zip", "no-such-file"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(
        r.err.contains(QStringLiteral("new.zip: nothing to add; the archive was not created")))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("new.zip")));
}

TEST_F(CliArchiveChangesTest, AnEmptyFileIsANewArchive) {
    makeFolder();
    writeFile("empty.zip", "");
    const CliResult r = run({"add", "empty.zip", "src/a.txt"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(listedNames("empty.zip"), QStringList{"src/a.txt"});
    EXPECT_EQ(run({"test", "empty.zip"}).exitCode, 0);
}

TEST_F(CliArchiveChangesTest, KeptAndReplacedFilesAreReported) {
    makeFolder();
    ASSERT_EQ(run({"add", "-r", "t.zip", "src"}).exitCode, 0);
    writeFile("out/src/a.txt", "mine");
    const CliResult kept = run({"extract", "-d", "out", "t.zip", "src/a.txt"});
    EXPECT_EQ(kept.exitCode, 0);
    EXPECT_TRUE(kept.err.contains(QStringLiteral("t.zip: src/a.txt: existing file kept")))
        << kept.err.toStdString();
    EXPECT_EQ(readFile("out/src/a.txt"), "mine");

    const CliResult replaced = run({"extract", "-o", "-d", "out", "t.zip", "src/a.txt"});
    EXPECT_EQ(replaced.exitCode, 0);
    EXPECT_TRUE(replaced.err.contains(QStringLiteral("t.zip: src/a.txt: existing file replaced")))
        << replaced.err.toStdString();
    EXPECT_EQ(readFile("out/src/a.txt"), "alpha");
}

TEST_F(CliArchiveChangesTest, ListEscapesControlCharactersOfNames) {
    writeFile("ctl.zip", ZipBytes::archive({RawEntry{"red\x1b[31m.txt", "x"},
                                            RawEntry{"bell\x07\x0a\x09.txt", "y"}}));
    const CliResult r = run({"list", "ctl.zip"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(r.out.contains(QChar(0x1b)));
    EXPECT_FALSE(r.out.contains(QChar(0x07)));
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2); // a line feed in a name does not start a new line
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("red\\x1b[31m.txt\t")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("bell\\x07\\x0a\\x09.txt\t")));
}

TEST_F(CliArchiveChangesTest, MessagesNameTheArchive) {
    writeFile("notzip.zip", QByteArray("this is no archive at all, only text").repeated(3));
    const CliResult list = run({"list", "notzip.zip"});
    EXPECT_EQ(list.exitCode, 2);
    for (const QString& line : list.err.split('\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QStringLiteral("brxzip:"))) {
            EXPECT_TRUE(line.startsWith(QStringLiteral("brxzip: notzip.zip: ")))
                << line.toStdString();
        }
    }
    EXPECT_EQ(run({"add", "notzip.zip", "x"}).exitCode, 2);
    EXPECT_EQ(readFile("notzip.zip"),
              QByteArray("this is no archive at all, only text").repeated(3));
}

} // namespace
} // namespace brx::test
