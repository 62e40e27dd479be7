#include "platform/Trash.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Points the home trash at a temporary folder for the test's life.
class TrashTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    QString savedCwd = QDir::currentPath();

    void SetUp() override {
        qputenv("XDG_DATA_HOME", root.filePath("data").toUtf8());
        QDir().mkpath(root.filePath("work"));
        QDir::setCurrent(root.filePath("work"));
    }
    void TearDown() override {
        QDir::setCurrent(savedCwd);
        qputenv("XDG_DATA_HOME", savedDataHome);
    }
};

} // namespace

TEST_F(TrashTest, FileGoesToTheHomeTrashWithItsRestoreRecord) {
    const QString file = root.filePath("work/Sauve 1.zip");
    writeFile(file, "archive bytes");
    ASSERT_TRUE(moveToTrash(file));

    EXPECT_FALSE(QFile::exists(file));
    const QString trash = root.filePath("data/Trash");
    EXPECT_EQ(homeTrashFolder(), trash);
    EXPECT_EQ(readFile(trash + "/files/Sauve 1.zip"), "archive bytes");
    const QByteArray record = readFile(trash + "/info/Sauve 1.zip.trashinfo");
    EXPECT_TRUE(record.startsWith("[Trash Info]\nPath="));
    EXPECT_TRUE(record.contains("/work/Sauve%201.zip\n")) << record.constData();
    EXPECT_TRUE(record.contains("DeletionDate="));
    // Nothing may be created in the current folder (a fault of some trash helpers).
    EXPECT_EQ(QDir(root.filePath("work")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
}

TEST_F(TrashTest, SameNameTwiceKeepsBothCopies) {
    const QString file = root.filePath("work/a.exe");
    writeFile(file, "first");
    ASSERT_TRUE(moveToTrash(file));
    writeFile(file, "second");
    ASSERT_TRUE(moveToTrash(file));
    EXPECT_EQ(readFile(root.filePath("data/Trash/files/a.exe")), "first");
    EXPECT_EQ(readFile(root.filePath("data/Trash/files/a.exe.2")), "second");
    EXPECT_TRUE(QFile::exists(root.filePath("data/Trash/info/a.exe.2.trashinfo")));
}

TEST_F(TrashTest, MissingFileIsNotTrashed) {
    EXPECT_FALSE(moveToTrash(root.filePath("work/none.zip")));
    EXPECT_FALSE(QFile::exists(root.filePath("data/Trash/info/none.zip.trashinfo")));
}
