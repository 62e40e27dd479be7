// The engine's message path (MessagePath) as its public operations, and the
// two password prompts.

#include "engine/ZipEngine.h"

#include "engine/base/UserHost.h"

namespace brx {

namespace {

constexpr int kMaxPasswordLength = 255;

} // namespace

void TZipEngine::ShowZipMessage(int id, const QString& extra) {
    m_messages.show(id, extra);
}

void TZipEngine::ShowExceptionError(const EZipEngine& e) {
    m_messages.report(e);
}

void TZipEngine::reportMessage(int id, const QString& text, bool show) {
    m_messages.report(id, text, show);
}

void TZipEngine::reportLibraryMessage(int code, const QString& text) {
    m_messages.reportLibrary(code, text);
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
    if (m_messages.unattended()) {
        ShowZipMessage(PW_UnatExtPWMiss);
        return;
    }
    password = passwordDialog(PW_MessageEnter).value_or(QString());
    keepAskedPassword(password);
}

void TZipEngine::AskAddPassword(QString& password) {
    password.clear();
    if (m_messages.unattended()) {
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
