// The terminal host's answers to the engine's questions, and names made
// safe for a terminal.

#include "cli/CliReport.h"
#include "cli/TerminalHost.h"

#include <gtest/gtest.h>

namespace brx::cli {
namespace {

struct Terminal {
    explicit Terminal(const QString& typed, bool replace = false)
        : input(typed)
        , in(&input)
        , err(&shown)
        , host(in, err, replace) {}
    MsgResult ask(MsgButtons buttons, const QString& text = QStringLiteral("Question?")) {
        MessageRequest request;
        request.text = text;
        request.buttons = buttons;
        return host.messageBox(request);
    }
    QString input;
    QString shown;
    QTextStream in;
    QTextStream err;
    TerminalHost host;
};

TEST(TerminalHostTest, QuestionsTakeTheTypedAnswer) {
    EXPECT_EQ(Terminal("y\n").ask(MsgButtons::YesNoCancel), MsgResult::Yes);
    EXPECT_EQ(Terminal("No\n").ask(MsgButtons::YesNoCancel), MsgResult::No);
    EXPECT_EQ(Terminal("c\n").ask(MsgButtons::YesNoCancel), MsgResult::Cancel);
    EXPECT_EQ(Terminal("c\n").ask(MsgButtons::YesNo), MsgResult::None) << "no cancel offered";
    EXPECT_EQ(Terminal("r\n").ask(MsgButtons::RetryCancel), MsgResult::Retry);
    EXPECT_EQ(Terminal("\n").ask(MsgButtons::OkCancel), MsgResult::Ok);
    EXPECT_EQ(Terminal("cancel\n").ask(MsgButtons::OkCancel), MsgResult::Cancel);
}

TEST(TerminalHostTest, AsksAgainUntilAnAnswerFitsAndGivesUpAtTheEnd) {
    Terminal t("maybe\n\nn\n");
    EXPECT_EQ(t.ask(MsgButtons::YesNoCancel, "Replace set001.zip?"), MsgResult::No);
    EXPECT_EQ(t.shown.count(QStringLiteral("[y]es, [n]o or [c]ancel?")), 3);
    EXPECT_TRUE(t.shown.contains(QStringLiteral("Replace set001.zip?")));
    EXPECT_EQ(Terminal("").ask(MsgButtons::YesNoCancel), MsgResult::None);
    EXPECT_EQ(Terminal("").ask(MsgButtons::OkCancel), MsgResult::None);
}

TEST(TerminalHostTest, PlainMessagesAreLeftToTheCommandAndReplaceCanBePreset) {
    Terminal plain("y\n");
    EXPECT_EQ(plain.ask(MsgButtons::Ok, "Copying: a"), MsgResult::Ok);
    EXPECT_TRUE(plain.shown.isEmpty());

    Terminal preset("", true);
    EXPECT_EQ(preset.ask(MsgButtons::YesNoCancel), MsgResult::Yes);
    EXPECT_EQ(preset.ask(MsgButtons::RetryCancel), MsgResult::None) << "only replacing is preset";
}

TEST(TerminalHostTest, PasswordIsTheTypedLine) {
    Terminal t("s3cret word\n");
    EXPECT_EQ(t.host.askPassword("Mot de Passe", "Entrer votre mot de passe "),
              std::optional<QString>("s3cret word"));
    EXPECT_EQ(Terminal("").host.askPassword("c", "p"), std::nullopt);
}

TEST(PrintableNameTest, ControlAndFormattingCharactersAreEscaped) {
    EXPECT_EQ(printableName(QStringLiteral("été/ok.txt")), QStringLiteral("été/ok.txt"));
    EXPECT_EQ(printableName(QStringLiteral("a\x1b[2Jb")), QStringLiteral("a\\x1b[2Jb"));
    EXPECT_EQ(printableName(QString("del") + QChar(0x7f) + QChar(0x9b)),
              QStringLiteral("del\\x7f\\x9b"));
    EXPECT_EQ(printableName(QString("txt.") + QChar(0x202e) + "exe"),
              QStringLiteral("txt.\\u{202e}exe"));
    EXPECT_EQ(printableMessage(QStringLiteral("first\r\nsecond \x07")),
              QStringLiteral("first\n  second \\x07"));
}

} // namespace
} // namespace brx::cli
