// The engine's one message path: its own messages by id, caught EZipEngine
// exceptions, and the libraries' messages; and the two password prompts.

#include "engine/ZipEngine.h"

#include "engine/base/UserHost.h"
#include "support/AppGlobals.h"

namespace brx {

namespace {

constexpr int kMaxPasswordLength = 255;

MessageRequest okBox(const QString& text) {
    MessageRequest request;
    request.text = text;
    request.caption = applicationTitle();
    request.buttons = MsgButtons::Ok;
    return request;
}

} // namespace

void TZipEngine::ShowZipMessage(int id, const QString& extra) {
    const QString text = LoadZipStr(id) + extra;
    m_message = text;
    m_errCode = id;
    if (!m_unattended) m_host->messageBox(okBox(text));
    if (OnMessage) OnMessage(0, text);
}

void TZipEngine::ShowExceptionError(const EZipEngine& e) {
    reportMessage(e.ResourceId(), e.Message(), e.DisplayMessage());
}

void TZipEngine::reportMessage(int id, const QString& text, bool show) {
    if (show && !m_unattended) m_host->messageBox(okBox(text));
    m_errCode = id;
    m_message = text;
    if (OnMessage) OnMessage(0, text);
}

// Library messages are never shown in a box: the owner decides through OnMessage.
void TZipEngine::reportLibraryMessage(int code, const QString& text) {
    m_message = text;
    if (code != 0) m_errCode = code & 0xFF;
    if (OnMessage) OnMessage(code, text);
}

std::optional<QString> TZipEngine::passwordDialog(int promptId) {
    return m_host->askPassword(LoadZipStr(PW_Caption), LoadZipStr(promptId));
}

// While a library request is answered the password goes to the library only.
void TZipEngine::keepAskedPassword(const QString& password) {
    if (!password.isEmpty() && !m_answeringLibrary) m_password = password.left(kMaxPasswordLength);
}

void TZipEngine::AskExtractPassword(QString& password) {
    password.clear();
    if (m_unattended) {
        ShowZipMessage(PW_UnatExtPWMiss);
        return;
    }
    password = passwordDialog(PW_MessageEnter).value_or(QString());
    keepAskedPassword(password);
}

void TZipEngine::AskAddPassword(QString& password) {
    password.clear();
    if (m_unattended) {
        ShowZipMessage(PW_UnatAddPWMiss);
        return;
    }
    const QString first = passwordDialog(PW_MessageEnter).value_or(QString());
    if (first.isEmpty()) return;
    const QString second = passwordDialog(PW_MessageConfirm).value_or(QString());
    if (second.isEmpty()) return;
    if (first != second) {
        ShowZipMessage(GE_WrongPassword);
        return;
    }
    password = first;
    keepAskedPassword(password);
}

} // namespace brx
