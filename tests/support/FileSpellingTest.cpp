#include "support/FileSpelling.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {
void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
}
} // namespace

TEST(ExistingFileSpelling, NameComparedWithoutCaseFolderKeptAsGiven) {
    QTemporaryDir dir;
    touch(dir.filePath("Rapport.Zip"));
    EXPECT_EQ(existingFileSpelling(dir.filePath("Rapport.Zip")), dir.filePath("Rapport.Zip"));
    EXPECT_EQ(existingFileSpelling(dir.filePath("RAPPORT.ZIP")), dir.filePath("Rapport.Zip"));
    EXPECT_EQ(existingFileSpelling(dir.path() + "/./rapport.zip"), dir.path() + "/./Rapport.Zip");
    EXPECT_EQ(existingFileSpelling(dir.filePath("Rapport.zi")), "") << "whole names only";
    EXPECT_EQ(existingFileSpelling(dir.filePath("absent/rapport.zip")), "");
    EXPECT_EQ(existingFileSpelling(""), "");
}

TEST(ExistingFileSpelling, ExactSpellingWinsAndFoldersDoNotCount) {
    QTemporaryDir dir;
    touch(dir.filePath("a.zip"));
    touch(dir.filePath("A.ZIP"));
    EXPECT_EQ(existingFileSpelling(dir.filePath("a.zip")), dir.filePath("a.zip"));
    EXPECT_EQ(existingFileSpelling(dir.filePath("A.ZIP")), dir.filePath("A.ZIP"));
    const QString other = existingFileSpelling(dir.filePath("A.zip"));
    EXPECT_TRUE(other == dir.filePath("a.zip") || other == dir.filePath("A.ZIP"));

    QDir(dir.path()).mkdir("Dossier.ZIP");
    EXPECT_EQ(existingFileSpelling(dir.filePath("Dossier.ZIP")), "");
    EXPECT_EQ(existingFileSpelling(dir.filePath("dossier.zip")), "");
}

TEST(ExistingFileSpelling, BareNameIsLookedUpInTheCurrentFolder) {
    QTemporaryDir dir;
    touch(dir.filePath(".Cache.ZIP"));
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString found = existingFileSpelling(".cache.zip");
    QDir::setCurrent(saved);
    EXPECT_EQ(found, ".Cache.ZIP") << "hidden files count";
}
