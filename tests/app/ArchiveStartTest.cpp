#include "archive_window/ArchiveStart.h"
#include "support/FileSpelling.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

const QString kProgram = QStringLiteral("/opt/brx/");

ArchiveStart derive(const QString& argument, QSet<QString> existing = {}) {
    return deriveArchiveStart(argument, kProgram, [existing](const QString& p) {
        return existing.contains(p) ? p : QString();
    });
}

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
}

} // namespace

TEST(ArchiveStart, ExtractPrefixChoosesPageAndPicture) {
    const ArchiveStart s = derive("-!/srv/Archives/sauve.zip");
    EXPECT_EQ(s.page, StartPage::Extract);
    EXPECT_EQ(s.pictureFile, "/opt/brx/Zip2Files.gif");
    EXPECT_EQ(s.startPath, "/srv/Archives/sauve.zip") << "the path keeps its own letter case";
}

TEST(ArchiveStart, ConvertPrefixChoosesPageAndPicture) {
    const ArchiveStart s = derive("-&/srv/setup.exe");
    EXPECT_EQ(s.page, StartPage::ZipExe);
    EXPECT_EQ(s.pictureFile, "/opt/brx/Zip2Exe.gif");
    EXPECT_EQ(s.startPath, "/srv/setup.exe");
}

TEST(ArchiveStart, PathWithoutDotTriesZipThenExe) {
    EXPECT_EQ(derive("-!/srv/Archives/Sauve").startPath, "/srv/Archives/Sauve.EXE");
    EXPECT_EQ(derive("-!/srv/Archives/Sauve", {"/srv/Archives/Sauve.ZIP"}).startPath,
              "/srv/Archives/Sauve.ZIP");
}

TEST(ArchiveStart, DotInAFolderNameLeavesThePathUnchanged) {
    EXPECT_EQ(derive("-&/srv/Mes.Documents/Sauve").startPath, "/srv/Mes.Documents/Sauve");
}

TEST(ArchiveStart, WithoutPrefixTheExtensionBecomesZip) {
    const ArchiveStart s = derive("/srv/setup.exe");
    EXPECT_EQ(s.page, StartPage::Design);
    EXPECT_TRUE(s.pictureFile.isEmpty());
    EXPECT_EQ(s.startPath, "/srv/setup.ZIP");
}

TEST(ArchiveStart, ExistingPathIsShownCleanAndAbsoluteMissingOneAsGiven) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("x");
    {
        QFile zip(dir.filePath("a.zip"));
        ASSERT_TRUE(zip.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(derive("-!" + dir.path() + "/./x/../a.zip").startPath, dir.filePath("a.zip"));
    EXPECT_EQ(derive("-!/srv/./x/../a.zip").startPath, "/srv/./x/../a.zip");

    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(derive("-!x/../a.zip").startPath, dir.filePath("a.zip"));
    QDir::setCurrent(saved);
}

// Completing or replacing the extension finds the archive whatever the letter
// case of its name on disk.
TEST(ArchiveStart, CompletionFindsTheArchiveInAnyLetterCase) {
    QTemporaryDir dir;
    touch(dir.filePath("Sauve.zip"));
    touch(dir.filePath("Prog.exe"));
    touch(dir.filePath("setup.zip"));
    const auto onDisk = [&](const QString& argument) {
        return deriveArchiveStart(argument, kProgram, existingFileSpelling).startPath;
    };
    EXPECT_EQ(onDisk("-!" + dir.filePath("Sauve")), dir.filePath("Sauve.zip"));
    EXPECT_EQ(onDisk("-&" + dir.filePath("Prog")), dir.filePath("Prog.exe"))
        << "no ZIP in any case: the EXE as spelled on disk";
    EXPECT_EQ(onDisk(dir.filePath("setup.exe")), dir.filePath("setup.zip"));
    EXPECT_EQ(onDisk("-!" + dir.filePath("Absent")), dir.filePath("Absent.EXE"))
        << "a file that exists under no spelling keeps the given one";
    EXPECT_EQ(onDisk(dir.filePath("absent.exe")), dir.filePath("absent.ZIP"));

    touch(dir.filePath("Sauve.ZIP"));
    EXPECT_EQ(onDisk("-!" + dir.filePath("Sauve")), dir.filePath("Sauve.ZIP"))
        << "the exact spelling wins when both exist";
}

#include "archive_window/TMainForm.h"
#include "platform/ProgramInfo.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QFile>
#include <QTemporaryDir>

TEST(ArchiveStart, ManagerWindowDerivesItsStartFromTheArgument) {
    QTemporaryDir dir;
    {
        QFile zip(dir.filePath("Sauve.ZIP"));
        ASSERT_TRUE(zip.open(QIODevice::WriteOnly));
    }
    // The window speaks through a scripted host: no box may wait for a person.
    ScriptedUserHost host;
    const TMainForm::Services services{&host, qEnvironmentVariable("BRX_BIN_DIR")};
    TMainForm withZip("-!" + dir.filePath("Sauve"), services);
    EXPECT_EQ(withZip.start().startPath, dir.filePath("Sauve.ZIP"));
    EXPECT_EQ(withZip.start().page, StartPage::Extract);
    EXPECT_EQ(withZip.start().pictureFile, programFolder() + "Zip2Files.gif");

    TMainForm withoutZip("-&" + dir.filePath("Autre"), services);
    EXPECT_EQ(withoutZip.start().startPath, dir.filePath("Autre.EXE"));
    EXPECT_EQ(withoutZip.start().page, StartPage::ZipExe);
}
