// The engine's message path, its texts and its password prompts.

#include "EngineFixture.h"

#include "support/AppGlobals.h"

namespace brx::test {
namespace {

class MessagePathTest : public EngineFixture {};

TEST(ZipMsgTest, MissingTextsNameTheirIdAndFieldsAreFilled) {
    EXPECT_EQ(LoadZipStr(10204), QStringLiteral("Warning - Garbage at the end of the zipfile!"));
    EXPECT_TRUE(LoadZipStr(10999).startsWith(QStringLiteral("ZipMsg.res is probably not linked")));
    EXPECT_TRUE(LoadZipStr(10999).endsWith(QStringLiteral("10999")));
    EXPECT_EQ(LoadZipStr(10999, QStringLiteral("fallback")), QStringLiteral("fallback"));
    EXPECT_EQ(LoadZipStr(11033, QStringLiteral("fallback")),
              QStringLiteral("Please insert last disk"));
    EXPECT_EQ(LoadZipStr(10150), QStringLiteral("Erreur - pas de mot de passe donné"));
    EXPECT_EQ(formatZipText(LoadZipStr(11034), {2, 5}),
              QStringLiteral("Please insert disk volume 2 of 5"));
    EXPECT_EQ(formatZipText(QStringLiteral("100%% of %s"), {QStringLiteral("x")}),
              QStringLiteral("100% of x"));
}

TEST(ZipMsgTest, ExceptionConstructors) {
    const EZipEngine plain(DS_NoValidZip, false);
    EXPECT_FALSE(plain.DisplayMessage());
    EXPECT_EQ(plain.ResourceId(), DS_NoValidZip);
    const EZipEngine number(AD_AutoSFXWrong, -3);
    EXPECT_TRUE(number.DisplayMessage());
    EXPECT_EQ(number.Message(), QStringLiteral("Error -3 occurred during Auto SFX creation."));
    const EZipEngine text(DS_DriveNoMount, QStringLiteral("/media/x/"));
    EXPECT_EQ(text.Message(), QStringLiteral("Drive /media/x/ is NOT defined"));
    // The missing-text rule's text is not formatted.
    const EZipEngine missing(10998, 42);
    EXPECT_TRUE(missing.Message().endsWith(QStringLiteral("10998")));
}

TEST_F(MessagePathTest, BoxUnlessUnattendedAndOnMessageAlways) {
    setApplicationTitle(QStringLiteral("BRX_EXPLO"));
    engine.ShowZipMessage(AD_NothingToZip, QStringLiteral(" (x)"));
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages[0].text, QStringLiteral("Error - no files to zip! (x)"));
    EXPECT_EQ(host.messages[0].caption, QStringLiteral("BRX_EXPLO"));
    EXPECT_EQ(engine.ErrCode(), AD_NothingToZip);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].code, 0);
    EXPECT_EQ(messages[0].text, host.messages[0].text);

    engine.setUnattended(true);
    engine.ShowZipMessage(DL_NothingToDel);
    engine.ShowExceptionError(EZipEngine(DS_NoValidZip, true));
    EXPECT_EQ(host.messages.size(), 1);
    EXPECT_EQ(messages.size(), 3);
    EXPECT_EQ(engine.ErrCode(), DS_NoValidZip);
    EXPECT_EQ(engine.Message(), LoadZipStr(DS_NoValidZip));
}

TEST_F(MessagePathTest, HiddenExceptionsStillReachOnMessage) {
    engine.ShowExceptionError(EZipEngine(DS_Canceled, false));
    EXPECT_TRUE(host.messages.isEmpty());
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(engine.ErrCode(), DS_Canceled);
}

TEST_F(MessagePathTest, AddPasswordNeedsTwoEqualEntries) {
    QString password;
    host.queuePassword(std::nullopt); // Cancel on the first dialog
    engine.AskAddPassword(password);
    EXPECT_TRUE(password.isEmpty());
    EXPECT_EQ(host.passwordPrompts.size(), 1);

    engine.setPassword(QStringLiteral("kept"));
    host.queuePassword(QStringLiteral("abc"));
    host.queuePassword(QStringLiteral("abC"));
    engine.AskAddPassword(password);
    EXPECT_TRUE(password.isEmpty());
    EXPECT_EQ(engine.ErrCode(), GE_WrongPassword);
    EXPECT_EQ(engine.Password(), QStringLiteral("kept"));
    EXPECT_EQ(host.passwordPrompts[2].second, LoadZipStr(PW_MessageConfirm));
    EXPECT_EQ(host.passwordPrompts[2].first, QStringLiteral("Mot de Passe"));

    host.queuePassword(QStringLiteral("same"));
    host.queuePassword(QStringLiteral("same"));
    engine.AskAddPassword(password);
    EXPECT_EQ(password, QStringLiteral("same"));
    EXPECT_EQ(engine.Password(), QStringLiteral("same"));
}

TEST_F(MessagePathTest, UnattendedPromptsReportInsteadOfAsking) {
    engine.setUnattended(true);
    QString password = QStringLiteral("x");
    engine.AskExtractPassword(password);
    EXPECT_TRUE(password.isEmpty());
    EXPECT_EQ(engine.ErrCode(), PW_UnatExtPWMiss);
    engine.AskAddPassword(password);
    EXPECT_EQ(engine.ErrCode(), PW_UnatAddPWMiss);
    EXPECT_TRUE(host.passwordPrompts.isEmpty());
    EXPECT_TRUE(host.messages.isEmpty());
}

} // namespace
} // namespace brx::test
