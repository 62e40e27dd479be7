#include "gui/WidgetsUserHost.h"

#include "gui/MessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>

namespace brx {

WidgetsUserHost::WidgetsUserHost(QWidget* owner, PasswordPrompt prompt)
    : m_owner(owner)
    , m_prompt(std::move(prompt)) {}

MsgResult WidgetsUserHost::messageBox(const MessageRequest& request) {
    // A box must not show the wait cursor while it waits for the user.
    const bool wasBusy = m_busyDepth > 0;
    if (wasBusy) QApplication::restoreOverrideCursor();
    const MsgResult result = showMessageBox(m_owner, request);
    if (wasBusy) QApplication::setOverrideCursor(Qt::WaitCursor);
    return result;
}

std::optional<QString> WidgetsUserHost::askPassword(const QString& caption, const QString& prompt) {
    if (m_prompt) return m_prompt(caption, prompt);
    bool ok = false;
    QInputDialog dialog(m_owner);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextEchoMode(QLineEdit::Password);
    ok = dialog.exec() == QDialog::Accepted;
    if (!ok) return std::nullopt;
    return dialog.textValue().left(80);
}

void WidgetsUserHost::setBusy(bool busy) {
    if (busy) {
        if (m_busyDepth++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        if (--m_busyDepth == 0) QApplication::restoreOverrideCursor();
    }
}

void WidgetsUserHost::processEvents() {
    QApplication::processEvents();
}

} // namespace brx
