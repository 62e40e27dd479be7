#include "gui/password/AskPassword.h"

#include "engine/ZipEngine.h"
#include "engine/base/UserHost.h"
#include "gui/password/StoredPassword.h"
#include "platform/Keyboard.h"
#include "support/AppGlobals.h"

namespace brx {

namespace {

bool userWantsPassword(IUserHost& host) {
    MessageRequest question;
    question.text = QStringLiteral("Souhaitez vous un mot de passe pour cette archive?");
    question.caption = applicationTitle();
    question.buttons = MsgButtons::YesNo;
    question.icon = MsgIcon::Question;
    return host.messageBox(question) != MsgResult::No;
}

} // namespace

QString AskPassword(TZipEngine& engine, const PrivateProfile& settings, const IKeyboard& keyboard) {
    // Read anew at each backup: the window never keeps the password.
    // A value that deciphers to nothing counts as no stored password, so the
    // archive is never flagged for encryption with an empty password.
    const QString stored = readStoredPassword(settings);
    if (!stored.isEmpty() && !keyboard.ctrlHeld()) {
        engine.setAddOptions(engine.AddOptions() | AddEncrypt);
        engine.setPassword(stored);
        return {};
    }
    if (!userWantsPassword(engine.host())) return {};
    engine.setAddOptions(engine.AddOptions() | AddEncrypt);
    QString typed;
    engine.AskAddPassword(typed);
    engine.setPassword(typed);
    return kUserPasswordLogLine;
}

} // namespace brx
