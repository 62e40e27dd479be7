// Exec lines of desktop entries, as the associated-program fallback runs them.
#include "platform/DesktopExec.h"

#include <gtest/gtest.h>

using namespace brx;

namespace {

const DesktopExecContext kContext{"/home/u/Mes Documents/l'été \"1\".txt", "lecteur",
                                  "Lecteur de texte", "/usr/share/applications/lecteur.desktop"};

QStringList expand(const QString& exec, const DesktopExecContext& context = kContext) {
    const auto argv = expandDesktopExec(exec, context);
    return argv ? *argv : QStringList{"<refused>"};
}

} // namespace

TEST(DesktopExec, QuotedArgumentsKeepTheirBlanksAndEscapes) {
    EXPECT_EQ(expand(R"("/opt/Mon Lecteur/bin/lire" --new-window %U)"),
              QStringList({"/opt/Mon Lecteur/bin/lire", "--new-window", kContext.file}));
    // In the file "\\" is one backslash (string rule) before the quoting rule
    // sees it: "\\\"" is an escaped quote, "\\\\" a literal backslash.
    EXPECT_EQ(expand(R"(sh -c "echo \\"a  b\\" \\$HOME \\\\n \\`x\\`" sh %f)"),
              QStringList({"sh", "-c", R"(echo "a  b" $HOME \n `x`)", "sh", kContext.file}));
    EXPECT_EQ(expand(R"(prog "" --x="a b"c)"), QStringList({"prog", "", "--x=a bc", kContext.file}))
        << "an empty pair of quotes is an empty argument";
    EXPECT_EQ(expand(R"(prog\sfast   two%f)"), QStringList({"prog", "fast", "two" + kContext.file}))
        << "\\s is a blank before the line is split";
    EXPECT_EQ(expand(R"(prog "100%" %f)"), QStringList({"prog", "100%", kContext.file}))
        << "no field codes inside quotes";
}

TEST(DesktopExec, FieldCodes) {
    EXPECT_EQ(expand("gimp %F"), QStringList({"gimp", kContext.file}));
    EXPECT_EQ(expand("app --open=%u --pct=50%% %i --title %c --from %k"),
              QStringList({"app", "--open=" + kContext.file, "--pct=50%", "--icon", "lecteur",
                           "--title", "Lecteur de texte", "--from", kContext.desktopFile}));
    DesktopExecContext bare = kContext;
    bare.icon.clear();
    bare.name.clear();
    EXPECT_EQ(expand("app %i %c %f", bare), QStringList({"app", kContext.file}))
        << "codes that give nothing leave no empty argument";
    EXPECT_EQ(expand("old %d %D %n %N %v %m -x%m %f"), QStringList({"old", "-x", kContext.file}))
        << "deprecated codes are dropped";
}

TEST(DesktopExec, LineWithoutFileCodeGetsTheFileLast) {
    EXPECT_EQ(expand("/usr/bin/lire --lecture"),
              QStringList({"/usr/bin/lire", "--lecture", kContext.file}));
}

TEST(DesktopExec, MalformedLinesAreRefused) {
    for (const char* exec : {"", "   ", R"(prog "unclosed %f)", "prog %x", "prog %", R"(prog \)"})
        EXPECT_FALSE(expandDesktopExec(exec, kContext).has_value()) << exec;
}

TEST(DesktopExec, StringEscapes) {
    EXPECT_EQ(unescapeDesktopString(R"(a\sb\tc\nd\re\\f\"g\)"), "a b\tc\nd\re\\f\\\"g\\");
}
