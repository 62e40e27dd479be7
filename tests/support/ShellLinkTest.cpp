#include "support/ProgramLauncher.h"
#include "support/ShellLink.h"
#include "tests/support/ShellLinkBuilder.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;
using brx::test::LinkParts;

namespace {
QString resolve(const QByteArray& bytes) {
    QTemporaryDir dir;
    QFile file(dir.filePath("a.lnk"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    return ResolveShortcut(file.fileName());
}
} // namespace

TEST(ResolveShortcut, LocalTargetAndArguments) {
    LinkParts p;
    p.localBasePath = "C:\\Program Files\\";
    p.commonSuffix = "Outil\\outil.exe";
    p.workingDir = "C:\\Temp";
    p.arguments = "/s fichier.txt";
    EXPECT_EQ(resolve(buildShellLink(p)), "C:\\Program Files\\Outil\\outil.exe  /s fichier.txt");

    p.unicodeStrings = false;
    p.withIdList = false;
    p.arguments = QStringLiteral("/é");
    EXPECT_EQ(resolve(buildShellLink(p)),
              QStringLiteral("C:\\Program Files\\Outil\\outil.exe  /é"));
}

TEST(ResolveShortcut, UnicodeLinkInfoPaths) {
    LinkParts p;
    p.localBasePath = QStringLiteral("D:\\Données\\");
    p.commonSuffix = QStringLiteral("été.exe");
    p.unicodeLinkInfo = true;
    p.argumentsFlag = false;
    EXPECT_EQ(resolve(buildShellLink(p)), QStringLiteral("D:\\Données\\été.exe  "));
}

TEST(ResolveShortcut, NetworkShareTakesPrecedence) {
    LinkParts p;
    p.localBasePath = "Z:\\";
    p.netName = "\\\\serveur\\partage";
    p.commonSuffix = "dossier\\prog.exe";
    p.arguments = "-v";
    EXPECT_EQ(resolve(buildShellLink(p)), "\\\\serveur\\partage\\dossier\\prog.exe  -v");
}

TEST(ResolveShortcut, WithoutTargetOnlyArgumentsRemain) {
    LinkParts p;
    p.arguments = "  lire.txt";
    EXPECT_EQ(resolve(buildShellLink(p)), "lire.txt");
}

TEST(ResolveShortcut, NotAShortcutOrMissingGivesEmptyText) {
    EXPECT_EQ(resolve("plain text, not a link at all, long enough to hold a header "
                      "........................."),
              "");
    QByteArray wrongClsid = buildShellLink(LinkParts{});
    wrongClsid[4] = 0x02;
    EXPECT_EQ(resolve(wrongClsid), "");
    EXPECT_EQ(ResolveShortcut("/nonexistent/x.lnk"), "");
}

TEST(ParseShellLink, EveryTruncationIsRefusedWithoutOverRead) {
    LinkParts p;
    p.localBasePath = "C:\\";
    p.commonSuffix = "x.exe";
    p.netName = "\\\\s\\p";
    p.unicodeLinkInfo = true;
    p.workingDir = "C:\\";
    p.arguments = "arg";
    const QByteArray full = buildShellLink(p);
    ShellLinkInfo info;
    ASSERT_TRUE(parseShellLink(full, info));
    EXPECT_EQ(info.workingDir, "C:\\");
    for (qsizetype cut = 0; cut < full.size(); ++cut) {
        ShellLinkInfo partial;
        EXPECT_FALSE(parseShellLink(full.left(cut), partial)) << "cut at " << cut;
    }
}

TEST(ParseShellLink, OffsetsPointingOutsideAreHarmless) {
    LinkParts p;
    p.localBasePath = "C:\\";
    p.commonSuffix = "x.exe";
    QByteArray bytes = buildShellLink(p);
    const qsizetype info = 0x4C + 2 + 6;
    qToLittleEndian<quint32>(0xFFFFFF00u, bytes.data() + info + 16); // local base path offset
    qToLittleEndian<quint32>(0x7FFFFFFFu, bytes.data() + info + 24); // suffix offset
    ShellLinkInfo parsed;
    EXPECT_TRUE(parseShellLink(bytes, parsed));
    EXPECT_EQ(parsed.targetPath, "");
}
