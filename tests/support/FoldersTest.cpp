#include "support/Errors.h"
#include "support/Folders.h"
#include "support/PathNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {
// Creates the folder for real and records the order of creation.
struct RecordingMaker {
    QStringList* made;
    bool operator()(const QString& folder) const {
        made->append(folder);
        return QDir().mkdir(folder);
    }
};
} // namespace

TEST(ForceFolders, CreatesOutermostMissingFolderFirst) {
    QTemporaryDir tmp;
    const QString base = tmp.path();
    QStringList made;
    ForceFolders(base + "/a/b/c/", RecordingMaker{&made});
    EXPECT_EQ(made, QStringList({base + "/a", base + "/a/b", base + "/a/b/c"}));
    EXPECT_TRUE(FolderExists(base + "/a/b/c"));

    made.clear();
    ForceFolders(base + "/a/b/d", RecordingMaker{&made});
    EXPECT_EQ(made, QStringList({base + "/a/b/d"})) << "existing parents are left alone";

    made.clear();
    ForceFolders(base + "/a/b/c", RecordingMaker{&made});
    EXPECT_TRUE(made.isEmpty());
}

TEST(ForceFolders, RelativePathsAndRoot) {
    QTemporaryDir tmp;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tmp.path()));
    QStringList made;
    ForceFolders("x/y", RecordingMaker{&made});
    ForceFolders("/", RecordingMaker{&made});
    const bool created = FolderExists(tmp.path() + "/x/y");
    QDir::setCurrent(previous);
    EXPECT_EQ(made, QStringList({"x", "x/y"}));
    EXPECT_TRUE(created);
}

TEST(ForceFolders, EmptyPathRaisesAndFailuresStaySilent) {
    try {
        ForceFolders("");
        FAIL() << "an empty path must raise";
    } catch (const EFolderCreation& error) {
        EXPECT_EQ(error.text(), QStringLiteral("Ne peut créer le répertoire"));
    }
    QTemporaryDir tmp;
    QFile blocker(tmp.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_NO_THROW(ForceFolders(tmp.filePath("file/sub/deeper")));
    EXPECT_FALSE(FolderExists(tmp.filePath("file/sub")));
}

TEST(PathTests, FoldersFilesAndDanglingLinks) {
    QTemporaryDir tmp;
    QFile file(tmp.filePath("f"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(tmp.filePath("gone"), tmp.filePath("dangling")));

    EXPECT_TRUE(FolderExists(tmp.path()));
    EXPECT_TRUE(FolderExists(tmp.path() + "/"));
    EXPECT_FALSE(FolderExists(tmp.filePath("f")));
    EXPECT_FALSE(FolderExists(""));
    EXPECT_TRUE(PathExists(tmp.filePath("f")));
    EXPECT_TRUE(PathExists(tmp.filePath("dangling")));
    EXPECT_FALSE(PathExists(tmp.filePath("gone")));
    EXPECT_FALSE(PathExists(""));
}

TEST(PathNames, TrailingSeparators) {
    EXPECT_EQ(WithBackslash(""), "");
    EXPECT_EQ(WithBackslash("/tmp"), "/tmp/");
    EXPECT_EQ(WithBackslash("/tmp/"), "/tmp/");
    EXPECT_EQ(WithoutBackslash("/tmp/x//"), "/tmp/x/");
    EXPECT_EQ(WithoutBackslash("/tmp/x"), "/tmp/x");
    EXPECT_EQ(WithoutBackslash(""), "");
}
