// The default-application lookup behind the launcher's associated-program
// fallback.
#include "platform/LinuxProcesses.h"
#include "platform/MimeDefaults.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

class MimeDefaultsTest : public testing::Test {
protected:
    void SetUp() override {
        QDir(tmp.path()).mkpath("config");
        QDir(tmp.path()).mkpath("data/applications/kde");
        defaults.configDirs = {tmp.path() + "/config"};
        defaults.applicationDirs = {tmp.path() + "/data/applications"};
        write("data/applications/viewer.desktop",
              "[Desktop Entry]\nName=Viewer\nExec=sh -c true %F\n");
        write("data/applications/kde/editor.desktop",
              "[Desktop Entry]\nExec=/opt/editor --new %U\n");
    }

    void write(const QString& name, const QByteArray& text) {
        QFile file(tmp.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir tmp;
    MimeDefaults defaults;
};

} // namespace

TEST_F(MimeDefaultsTest, DefaultApplicationsSkipUninstalledEntries) {
    write("config/mimeapps.list",
          "[Added Associations]\ntext/plain=kde-editor.desktop;\n"
          "[Default Applications]\ntext/plain=missing.desktop;viewer.desktop\n");
    EXPECT_EQ(defaults.defaultApplication({"text/plain"}), "viewer.desktop");
    EXPECT_EQ(defaults.programOf("viewer.desktop"), QStandardPaths::findExecutable("sh"))
        << "first word of Exec, found on PATH";
    EXPECT_EQ(defaults.programOf("kde-editor.desktop"), "/opt/editor")
        << "ids with '-' live in subfolders";
    EXPECT_EQ(defaults.programOf("missing.desktop"), "");
}

TEST_F(MimeDefaultsTest, FallsBackToAddedAssociationsThenCacheThenAncestors) {
    write("config/mimeapps.list", "[Added Associations]\ntext/x-csrc=kde-editor.desktop\n");
    write("data/applications/mimeinfo.cache", "[MIME Cache]\ntext/plain=viewer.desktop;\n");
    EXPECT_EQ(defaults.defaultApplication({"text/x-csrc"}), "kde-editor.desktop");
    EXPECT_EQ(defaults.defaultApplication({"text/html", "text/plain"}), "viewer.desktop");
    EXPECT_EQ(defaults.defaultApplication({"image/png"}), "");
}

TEST_F(MimeDefaultsTest, DesktopSpecificListComesFirst) {
    defaults.desktopNames = {"xfce"};
    write("config/mimeapps.list", "[Default Applications]\ntext/plain=viewer.desktop\n");
    write("config/xfce-mimeapps.list", "[Default Applications]\ntext/plain=kde-editor.desktop\n");
    EXPECT_EQ(defaults.defaultApplication({"text/plain"}), "kde-editor.desktop");
}

TEST_F(MimeDefaultsTest, SystemLookupFollowsTheEnvironment) {
    write("config/mimeapps.list", "[Default Applications]\ntext/plain=viewer.desktop\n");
    write("notes.txt", "some words\n");
    const QByteArray names[] = {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME",
                                "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP"};
    QList<QByteArray> saved;
    for (const QByteArray& name : names) saved.append(qgetenv(name.constData()));
    qputenv("XDG_CONFIG_HOME", (tmp.path() + "/config").toUtf8());
    qputenv("XDG_CONFIG_DIRS", (tmp.path() + "/none").toUtf8());
    qputenv("XDG_DATA_HOME", (tmp.path() + "/data").toUtf8());
    qputenv("XDG_DATA_DIRS",
            (tmp.path() + "/none:/usr/share").toUtf8()); // the MIME database lives there
    qunsetenv("XDG_CURRENT_DESKTOP");
    const QString program = LinuxProcesses().associatedProgram(tmp.filePath("notes.txt"));
    for (int i = 0; i < 5; ++i) qputenv(names[i].constData(), saved[i]);
    EXPECT_EQ(program, QStandardPaths::findExecutable("sh"));
}
