#include "app/DesktopExport.h"
#include "app/Dispatch.h"
#include "app/ShellVerbs.h"
#include "platform/TextClassRootStore.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace brx;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// What a command prints on stdout, trimmed; fails the test when it fails.
QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": "
                               << p.readAllStandardError().toStdString()
                               << p.readAllStandardOutput().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

const QByteArray kUserAction = "<action>\n\t<icon>utilities-terminal</icon>\n\t<name>Ouvrir un "
                               "terminal ici</name>\n\t<unique-id>1650000000000000-1</unique-id>"
                               "\n\t<command>exo-open --working-directory %f &amp;&amp; true"
                               "</command>\n\t<description>Terminal é</description>\n\t<patterns>*"
                               "</patterns>\n\t<startup-notify/>\n\t<directories/>\n</action>";

// A user's home in a temporary folder, with a stand-in program (in a folder
// whose name has blanks, quotes, a dollar and accents) that writes the
// arguments it receives to a file.
class DesktopExportTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString config = root.filePath("config");
    QString data = root.filePath("data");
    QString program = root.filePath("Mes programmes/l'été \"v2\" $HOME/BRX_EXPLO");
    QString argvFile = root.filePath("argv");
    QMap<QByteArray, QByteArray> saved;
    ScriptedUserHost host;

    void SetUp() override {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                                 "XDG_CURRENT_DESKTOP", "BRX_ARGV_FILE"})
            saved[name] = qgetenv(name);
        qputenv("HOME", root.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        qputenv("XDG_DATA_HOME", data.toUtf8());
        qputenv("XDG_DATA_DIRS", root.filePath("nodata").toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
        qputenv("BRX_ARGV_FILE", argvFile.toUtf8());
        writeFile(program, "#!/bin/sh\n: > \"$BRX_ARGV_FILE.part\"\n"
                           "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$BRX_ARGV_FILE.part\"; "
                           "done\nmv \"$BRX_ARGV_FILE.part\" \"$BRX_ARGV_FILE\"\n");
        QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
        writeFile(QFileInfo(program).absolutePath() + "/icons/hicolor/48x48/apps/brx_explo.png",
                  "png");
    }
    void TearDown() override {
        for (auto it = saved.cbegin(); it != saved.cend(); ++it) qputenv(it.key(), it.value());
    }

    TextClassRootStore store() { return TextClassRootStore(TextClassRootStore::defaultFilePath()); }
    void registerAndExport() {
        TextClassRootStore s = store();
        RegisterVerbs(s, host, program);
        exportShellVerbs(s);
    }
    void unregisterAndExport() {
        TextClassRootStore s = store();
        UnregisterVerbs(s, host);
        exportShellVerbs(s);
    }

    // The first argument the stand-in program saw, as the program reads it.
    QString receivedArgument() {
        for (int i = 0; i < 600 && !QFile::exists(argvFile); ++i) QThread::msleep(50);
        QStringList argv = QString::fromUtf8(readFile(argvFile)).split('\n');
        argv.removeLast();
        QFile::remove(argvFile);
        return firstArgument(QStringList{program} + argv).value_or("<none>");
    }

    QStringList exportedFiles() {
        QStringList files;
        for (const QString& top : {data, config}) {
            QDirIterator it(top, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString f = it.next();
                if (!f.contains("/BRX_EXPLO/") && !f.contains("/icons/")) files << f;
            }
        }
        return files;
    }
};

} // namespace

TEST_F(DesktopExportTest, EveryDesktopFileValidatesAndZipOpensWithUs) {
    registerAndExport();
    QStringList desktopFiles;
    for (const QString& f : exportedFiles())
        if (f.endsWith(".desktop")) desktopFiles << f;
    ASSERT_EQ(desktopFiles.size(), 4) << desktopFiles.join(", ").toStdString();
    for (const QString& f : desktopFiles) run("desktop-file-validate", {f});
    EXPECT_EQ(run("xdg-mime", {"query", "default", "application/zip"}), kDesktopEntryId);
    EXPECT_TRUE(QFile::exists(data + "/icons/hicolor/48x48/apps/brx_explo.png"));

    const QString entry = QString::fromUtf8(readFile(data + "/applications/brx_explo.desktop"));
    EXPECT_TRUE(entry.contains("\nName=Zip Vers Fichiers\n"));
    EXPECT_TRUE(entry.contains("\nName=Exe Vers Zip\n"));
    EXPECT_FALSE(entry.contains("&Z")) << "shortcut marks are not shown";
    EXPECT_TRUE(QFileInfo(data + "/kio/servicemenus/brx_explo-folder.desktop").isExecutable());
}

TEST_F(DesktopExportTest, AProgramPathWithBlanksQuotesAndAccentsReachesTheProgram) {
    registerAndExport();
    const QString archive = root.filePath("Dossier à blancs/mon \"archive\" $x.zip");
    writeFile(archive, "PK");

    // The desktop entry, started by a real desktop-entry launcher.
    run("gio", {"launch", data + "/applications/brx_explo.desktop", archive});
    EXPECT_EQ(receivedArgument(), "-!" + archive);

    // A Nautilus script, run in the selection's folder with its name.
    QProcess script;
    script.setWorkingDirectory(QFileInfo(archive).absolutePath());
    script.start(data + "/nautilus/scripts/Zip Vers Exe", {QFileInfo(archive).fileName()});
    ASSERT_TRUE(script.waitForFinished(60000));
    EXPECT_EQ(receivedArgument(), "-&" + archive);

    // Thunar puts the shell-quoted file in place of %f and splits like a shell.
    const QString uca = QString::fromUtf8(readFile(config + "/Thunar/uca.xml"));
    const qsizetype at = uca.indexOf("<unique-id>brx_explo-fichiers-vers-zip</unique-id>");
    ASSERT_GE(at, 0);
    QString command = uca.mid(uca.indexOf("<command>", at) + 9);
    command = command.left(command.indexOf("</command>"))
                  .replace("&quot;", "\"")
                  .replace("&apos;", "'")
                  .replace("&amp;", "&");
    const QString folder = QFileInfo(archive).absolutePath();
    QString quoted = folder;
    quoted.replace("'", "'\\''");
    run("sh", {"-c", command.replace("%f", "'" + quoted + "'")});
    EXPECT_EQ(receivedArgument(), "-#" + folder);
}

TEST_F(DesktopExportTest, UnregistrationLeavesNothingThatStartsTheProgram) {
    writeFile(config + "/mimeapps.list",
              "[Default Applications]\napplication/zip=org.gnome.FileRoller.desktop\n"
              "text/plain=gedit.desktop\n");
    writeFile(data + "/nautilus/scripts/Mon script", "#!/bin/sh\n");
    registerAndExport();
    EXPECT_GE(exportedFiles().size(), 10);
    unregisterAndExport();

    for (const QString& f : exportedFiles())
        EXPECT_FALSE(readFile(f).contains("Mes programmes")) << f.toStdString();
    EXPECT_FALSE(QFile::exists(data + "/applications/brx_explo.desktop"));
    EXPECT_TRUE(QFile::exists(data + "/nautilus/scripts/Mon script"));
    EXPECT_EQ(readFile(config + "/mimeapps.list"),
              "[Default Applications]\napplication/zip=org.gnome.FileRoller.desktop\n"
              "text/plain=gedit.desktop\n");
}

TEST_F(DesktopExportTest, KeepingAnotherClassRestoresTheUsersZipApplication) {
    writeFile(config + "/mimeapps.list",
              "[Default Applications]\napplication/zip=org.gnome.FileRoller.desktop\n");
    registerAndExport();
    EXPECT_TRUE(readFile(config + "/mimeapps.list").contains("application/zip=brx_explo.desktop"));

    TextClassRootStore s = store();
    s.writeDefault(".zip", "Winzip");
    host.queueAnswer(MsgResult::No);
    registerAndExport();
    EXPECT_EQ(readFile(config + "/mimeapps.list"),
              "[Default Applications]\napplication/zip=org.gnome.FileRoller.desktop\n");
    // The verbs under the kept class are still offered for ZIP files.
    const QString menu =
        QString::fromUtf8(readFile(data + "/kio/servicemenus/brx_explo-zip.desktop"));
    EXPECT_TRUE(menu.contains("Name=Zip Vers Exe"));
}

TEST_F(DesktopExportTest, TheUsersThunarActionsAreKept) {
    const QByteArray user =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n" + kUserAction + "\n</actions>\n";
    writeFile(config + "/Thunar/uca.xml", user);
    registerAndExport();
    const QByteArray merged = readFile(config + "/Thunar/uca.xml");
    EXPECT_TRUE(merged.contains(kUserAction)) << merged.toStdString();
    EXPECT_EQ(merged.count("<unique-id>brx_explo-"), 4);

    registerAndExport(); // a second run replaces ours, never doubles them
    EXPECT_EQ(readFile(config + "/Thunar/uca.xml").count("<unique-id>brx_explo-"), 4);

    unregisterAndExport();
    const QByteArray after = readFile(config + "/Thunar/uca.xml");
    EXPECT_TRUE(after.contains(kUserAction));
    EXPECT_FALSE(after.contains("brx_explo"));
}

TEST_F(DesktopExportTest, AnUnreadableThunarFileIsLeftAlone) {
    const QByteArray broken = "<actions><action><name>cassé</action>";
    writeFile(config + "/Thunar/uca.xml", broken);
    registerAndExport();
    EXPECT_EQ(readFile(config + "/Thunar/uca.xml"), broken);
    EXPECT_TRUE(QFile::exists(data + "/applications/brx_explo.desktop"));
}

TEST(VerbCommand, OnlyTheProgramsOwnFormsAreRead) {
    const auto quoted = parseVerbCommand("\"/a b/BRX_EXPLO\" -#\"%1\"");
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->program, "/a b/BRX_EXPLO");
    EXPECT_EQ(quoted->prefix, "-#");
    const auto bare = parseVerbCommand("/a b/BRX_EXPLO -&\"%1\"");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->program, "/a b/BRX_EXPLO");
    EXPECT_FALSE(parseVerbCommand("other.exe \"%1\""));
    EXPECT_FALSE(parseVerbCommand("relative -!\"%1\""));
    EXPECT_FALSE(parseVerbCommand("-!\"%1\""));
    EXPECT_EQ(verbLabel("Zip Vers &Fichiers"), "Zip Vers Fichiers");
    EXPECT_EQ(verbLabel("A && B"), "A & B");
}
