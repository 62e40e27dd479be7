#include "support/ArchiveNaming.h"
#include "tests/fakes/FakeLocaleInfo.h"
#include "tests/fakes/FakeVolumes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

class ArchiveNaming : public testing::Test {
protected:
    QString name(const QString& source, bool asExe = false, bool withExtension = false) {
        return ArchiveBaseName(source, asExe, withExtension, volumes, locale);
    }

    FakeVolumes volumes;
    FakeLocaleInfo locale;
};

} // namespace

TEST_F(ArchiveNaming, NothingGivesANameInTheUsersLanguage) {
    EXPECT_EQ(name(""), "SansNom");
    EXPECT_EQ(name("", true, true), "SansNom.exe");
    locale.french = false;
    EXPECT_EQ(name(""), "NoName");
    EXPECT_FALSE(IsFrenchUser(locale));
}

TEST_F(ArchiveNaming, DriveSpellingsAndVolumeRoots) {
    EXPECT_EQ(name("C:\\"), "Dsk_C");
    EXPECT_EQ(name("c:"), "Dsk_C");
    EXPECT_EQ(name("/"), "Dsk_Root");
    volumes.setVolume("/media/u/CLE/", FakeVolume{DriveType::Removable});
    EXPECT_EQ(name("/media/u/CLE/"), "Dsk_CLE");
    EXPECT_EQ(name("/media/u/CLE"), "Dsk_CLE");
    volumes.volume("/media/u/CLE/")->label = "SAUVE 1";
    EXPECT_EQ(name("/media/u/CLE"), "Dsk_SAUVE 1") << "the label wins";
    EXPECT_EQ(name("/media/u/CLE/docs"), "docs");
}

TEST_F(ArchiveNaming, ExistingFolderGivesItsLastComponent) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("Mes Documents/Projet"));
    EXPECT_EQ(name(dir.path() + "/Mes Documents/Projet/"), "Projet");
    EXPECT_EQ(name(dir.path() + "/Mes Documents/./Projet//"), "Projet");

    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path() + "/Mes Documents/Projet"));
    const QString dotName = name(".");
    const QString parentName = name("..");
    QDir::setCurrent(previous);
    EXPECT_EQ(dotName, "Projet") << "relative names against the current folder";
    EXPECT_EQ(parentName, "Mes Documents");
}

TEST_F(ArchiveNaming, BackupSetsDropExtensionAndMark) {
    EXPECT_EQ(name("/jeux/!Compta.brx"), "Compta");
    EXPECT_EQ(name("/jeux/Compta.BRX"), "Compta");
    EXPECT_EQ(name("/jeux/a.brx.txt"), "a.brx") << "only the last extension goes";
    EXPECT_EQ(name("/jeux/Compta.BRX", false, true), "Compta.zip");
}

TEST_F(ArchiveNaming, OtherPathsKeepTheirLastComponent) {
    EXPECT_EQ(name("/tmp/nowhere/notes.txt"), "notes.txt");
    EXPECT_EQ(name("/tmp/nowhere/notes.txt", false, true), "notes.txt.zip");
    EXPECT_EQ(name("/tmp/nowhere/dossier/"), "dossier");
    EXPECT_EQ(name("/tmp/nowhere/dossier//"), "") << "only one trailing separator is removed";
}

TEST_F(ArchiveNaming, ExtensionOnlyWhenNotAlreadyAnywhereInTheName) {
    EXPECT_EQ(name("Projet", true, true), "Projet.exe");
    EXPECT_EQ(name("Setup.EXE", true, true), "Setup.EXE");
    EXPECT_EQ(name("Archive.EXE.bak", true, true), "Archive.EXE.bak");
    EXPECT_EQ(name("copie.zip.old", false, true), "copie.zip.old");
    EXPECT_EQ(name("copie.zip.old", true, true), "copie.zip.old.exe");
    EXPECT_EQ(name("Setup.EXE", true, false), "Setup.EXE");
}
