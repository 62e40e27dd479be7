// The backup's password step: stored password, Ctrl held, the question and
// the typed password.

#include "gui/password/AskPassword.h"

#include "engine/ZipEngine.h"
#include "password/TextCipher.h"
#include "settings/PrivateProfile.h"
#include "tests/fakes/FakeKeyboard.h"
#include "tests/fakes/ScriptedUserHost.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace brx;

namespace {

const QString kQuestion = QStringLiteral("Souhaitez vous un mot de passe pour cette archive?");

class AskPasswordTest : public testing::Test {
protected:
    QTemporaryDir folder;
    PrivateProfile ini{folder.filePath(QStringLiteral("BRX_EXPL.INI"))};
    ScriptedUserHost host;
    FakeKeyboard keyboard;
    TZipEngine engine{&host};

    void store(const QString& plain) {
        ini.writeString(QStringLiteral("div"), QStringLiteral("dateinstall"),
                        CryptPassword(plain, {}, true));
    }
    bool encrypts() const { return engine.AddOptions().testFlag(AddEncrypt); }
};

TEST_F(AskPasswordTest, StoredPasswordIsUsedWithoutQuestion) {
    store(QStringLiteral("Mot2Passe"));
    EXPECT_EQ(AskPassword(engine, ini, keyboard), QString());
    EXPECT_TRUE(encrypts());
    EXPECT_EQ(engine.Password(), QStringLiteral("Mot2Passe"));
    EXPECT_TRUE(host.messages.isEmpty());
    EXPECT_TRUE(host.passwordPrompts.isEmpty());
}

TEST_F(AskPasswordTest, CtrlHeldAsksAndNoLeavesArchiveWithoutPassword) {
    store(QStringLiteral("Mot2Passe"));
    const QString before = ini.readString(QStringLiteral("div"), QStringLiteral("dateinstall"));
    keyboard.ctrl = true;
    host.queueAnswer(MsgResult::No);
    EXPECT_EQ(AskPassword(engine, ini, keyboard), QString());
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages.first().text, kQuestion);
    EXPECT_EQ(host.messages.first().buttons, MsgButtons::YesNo);
    EXPECT_FALSE(encrypts());
    EXPECT_TRUE(engine.Password().isEmpty());
    EXPECT_TRUE(host.passwordPrompts.isEmpty());
    EXPECT_EQ(ini.readString(QStringLiteral("div"), QStringLiteral("dateinstall")), before);
}

TEST_F(AskPasswordTest, CtrlHeldAndYesTakesTheTypedPassword) {
    store(QStringLiteral("Mot2Passe"));
    keyboard.ctrl = true;
    host.queueAnswer(MsgResult::Yes);
    host.queuePassword(QStringLiteral("autre"));
    host.queuePassword(QStringLiteral("autre"));
    EXPECT_EQ(AskPassword(engine, ini, keyboard),
              QStringLiteral(" Saisie d'un mot de passe par utilisateur"));
    EXPECT_TRUE(encrypts());
    EXPECT_EQ(engine.Password(), QStringLiteral("autre"));
    EXPECT_EQ(host.passwordPrompts.size(), 2);
}

TEST_F(AskPasswordTest, WithoutStoredPasswordTheQuestionIsAsked) {
    host.queueAnswer(MsgResult::Yes);
    host.queuePassword(QStringLiteral("abc"));
    host.queuePassword(QStringLiteral("abc"));
    EXPECT_EQ(AskPassword(engine, ini, keyboard), kUserPasswordLogLine);
    EXPECT_EQ(host.messages.first().text, kQuestion);
    EXPECT_EQ(engine.Password(), QStringLiteral("abc"));

    // A removed (empty) or unreadable value counts as no stored password.
    for (const QString& value : {QString(), QStringLiteral("FA"), QStringLiteral("FAzz")}) {
        ini.writeString(QStringLiteral("div"), QStringLiteral("dateinstall"), value);
        host.messages.clear();
        host.queueAnswer(MsgResult::No);
        engine.setAddOptions({});
        AskPassword(engine, ini, keyboard);
        EXPECT_EQ(host.messages.size(), 1) << value.toStdString();
        EXPECT_FALSE(encrypts()) << value.toStdString();
    }
}

TEST_F(AskPasswordTest, AtMost255CharactersAreKept) {
    store(QString(300, 'p'));
    AskPassword(engine, ini, keyboard);
    EXPECT_EQ(engine.Password(), QString(255, 'p'));
}

} // namespace
