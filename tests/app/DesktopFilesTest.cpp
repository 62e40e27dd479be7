#include "app/DesktopQuoting.h"
#include "app/MimeAppsList.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

QString echoedByShell(const QString& quotedArgument) {
    QProcess sh;
    sh.start("sh", {"-c", "printf '%s' " + quotedArgument});
    EXPECT_TRUE(sh.waitForFinished(30000));
    return QString::fromUtf8(sh.readAllStandardOutput());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(DesktopQuoting, NastyArgumentsComeBackWhole) {
    for (const QString& s :
         {QString("/opt/Mes programmes/BRX_EXPLO"), QString("l'été \"v2\" $HOME `id` \\n"),
          QString("-&"), QString("a;b|c>d<e*f?g#h~i(j)k")}) {
        EXPECT_EQ(echoedByShell(execArgument(s)), s) << s.toStdString();
        EXPECT_EQ(echoedByShell(shellArgument(s)), s) << s.toStdString();
    }
    EXPECT_EQ(execArgument("-!"), "-!");
    EXPECT_EQ(execArgument("/usr/bin/BRX_EXPLO"), "/usr/bin/BRX_EXPLO");
    EXPECT_EQ(keyFileValue(" a\\b\n"), "\\sa\\\\b\\n");
}

TEST(MimeAppsList, OneKeyChangesAndEverythingElseStays) {
    QTemporaryDir dir;
    const QString path = dir.filePath("mimeapps.list");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# mine\n[Added Associations]\napplication/zip=a.desktop;\n\n"
            "[Default Applications]\ntext/plain=gedit.desktop\n");
    f.close();
    MimeAppsList list(path);
    EXPECT_EQ(list.value("Default Applications", "application/zip"), std::nullopt);
    EXPECT_EQ(list.value("Added Associations", "application/zip"), "a.desktop;");

    ASSERT_TRUE(list.setValue("Default Applications", "application/zip", "b.desktop"));
    EXPECT_EQ(readFile(path), "# mine\n[Added Associations]\napplication/zip=a.desktop;\n\n"
                              "[Default Applications]\ntext/plain=gedit.desktop\n"
                              "application/zip=b.desktop\n");
    ASSERT_TRUE(list.setValue("Default Applications", "application/zip", std::nullopt));
    ASSERT_TRUE(list.setValue("Default Applications", "text/plain", "kate.desktop"));
    EXPECT_EQ(readFile(path), "# mine\n[Added Associations]\napplication/zip=a.desktop;\n\n"
                              "[Default Applications]\ntext/plain=kate.desktop\n");

    MimeAppsList fresh(dir.filePath("new/mimeapps.list"));
    ASSERT_TRUE(fresh.setValue("Default Applications", "application/zip", "c.desktop"));
    EXPECT_EQ(readFile(dir.filePath("new/mimeapps.list")),
              "[Default Applications]\napplication/zip=c.desktop\n");
}
