// The default-application lookup behind the launcher's associated-program
// fallback.
#include "platform/LinuxProcesses.h"
#include "platform/MimeDefaults.h"
#include "support/ProgramLauncher.h"

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

TEST_F(MimeDefaultsTest, CommandForExpandsTheExecLine) {
    write("data/applications/kde/quoted.desktop",
          "[Desktop Entry]\nName=Mon lecteur\nIcon=lire\n"
          "Exec=\"/opt/Mon Lecteur/lire\" %i --titre \"%c\" --doc=%f %m\n");
    EXPECT_EQ(defaults.commandFor("kde-quoted.desktop", "/tmp/a b.txt"),
              QStringList({"/opt/Mon Lecteur/lire", "--icon", "lire", "--titre", "%c",
                           "--doc=/tmp/a b.txt"}));
    EXPECT_EQ(defaults.programOf("kde-quoted.desktop"), "/opt/Mon Lecteur/lire");
    write("data/applications/broken.desktop", "[Desktop Entry]\nExec=lire \"%f\n");
    EXPECT_EQ(defaults.commandFor("broken.desktop", "/tmp/a"), QStringList());
    EXPECT_EQ(defaults.commandFor("missing.desktop", "/tmp/a"), QStringList());
}

namespace {

// Points the freedesktop folders at the test's own for the life of a scope.
class XdgEnvironment {
public:
    explicit XdgEnvironment(const QString& root) {
        for (const QByteArray& name : kNames) m_saved.append(qgetenv(name.constData()));
        qputenv("XDG_CONFIG_HOME", (root + "/config").toUtf8());
        qputenv("XDG_CONFIG_DIRS", (root + "/none").toUtf8());
        qputenv("XDG_DATA_HOME", (root + "/data").toUtf8());
        qputenv("XDG_DATA_DIRS",
                (root + "/none:/usr/share").toUtf8()); // the MIME database lives there
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
    ~XdgEnvironment() {
        for (int i = 0; i < 5; ++i) qputenv(kNames[i].constData(), m_saved[i]);
    }

private:
    inline static const QByteArray kNames[] = {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS",
                                               "XDG_DATA_HOME", "XDG_DATA_DIRS",
                                               "XDG_CURRENT_DESKTOP"};
    QList<QByteArray> m_saved;
};

} // namespace

TEST_F(MimeDefaultsTest, SystemLookupFollowsTheEnvironment) {
    write("config/mimeapps.list", "[Default Applications]\ntext/plain=viewer.desktop\n");
    write("notes.txt", "some words\n");
    QStringList command;
    {
        XdgEnvironment environment(tmp.path());
        command = LinuxProcesses().associatedCommand(tmp.filePath("notes.txt"));
    }
    EXPECT_EQ(command, QStringList({"sh", "-c", "true", tmp.filePath("notes.txt")}));
}

// A document that cannot be started opens in its default application with
// every argument of the entry's Exec line, quoted ones included.
TEST_F(MimeDefaultsTest, RunProgramOpensADocumentWithTheWholeExecLine) {
    write("ouvrir doc.sh", "#!/bin/sh\nmarker=$1\nshift\nprintf '%s\\n' \"$@\" > \"$marker\"\n");
    ASSERT_TRUE(QFile::setPermissions(tmp.filePath("ouvrir doc.sh"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString marker = tmp.filePath("vu par.txt");
    write("data/applications/ouvrir.desktop", "[Desktop Entry]\nExec=\"" +
                                                  tmp.filePath("ouvrir doc.sh").toUtf8() + "\" \"" +
                                                  marker.toUtf8() + "\" --doc %f\n");
    write("config/mimeapps.list", "[Default Applications]\ntext/plain=ouvrir.desktop\n");
    const QString document = tmp.filePath("mes notes.txt");
    write("mes notes.txt", "some words\n");
    {
        XdgEnvironment environment(tmp.path());
        RunProgram(quoteArgument(document), 1, true);
    }
    QFile seen(marker);
    ASSERT_TRUE(seen.open(QIODevice::ReadOnly)) << "the entry's program did not run as written";
    EXPECT_EQ(QString::fromUtf8(seen.readAll()), "--doc\n" + document + "\n");
    QFile untouched(document);
    ASSERT_TRUE(untouched.open(QIODevice::ReadOnly));
    EXPECT_EQ(untouched.readAll(), "some words\n");
}
