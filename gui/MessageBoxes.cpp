#include "gui/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <map>
#include <vector>

namespace brx {

namespace {

struct ButtonSpec {
    MsgResult result;
    QMessageBox::ButtonRole role;
    const char* caption;
};

std::vector<ButtonSpec> buttonsFor(MsgButtons buttons) {
    const ButtonSpec ok{MsgResult::Ok, QMessageBox::AcceptRole, "OK"};
    const ButtonSpec cancel{MsgResult::Cancel, QMessageBox::RejectRole, "Annuler"};
    const ButtonSpec yes{MsgResult::Yes, QMessageBox::YesRole, "Oui"};
    const ButtonSpec no{MsgResult::No, QMessageBox::NoRole, "Non"};
    const ButtonSpec retry{MsgResult::Retry, QMessageBox::AcceptRole, "Réessayer"};
    const ButtonSpec abort{MsgResult::Abort, QMessageBox::RejectRole, "Abandonner"};
    const ButtonSpec ignore{MsgResult::Ignore, QMessageBox::AcceptRole, "Ignorer"};
    switch (buttons) {
    case MsgButtons::Ok:
        return {ok};
    case MsgButtons::OkCancel:
        return {ok, cancel};
    case MsgButtons::YesNo:
        return {yes, no};
    case MsgButtons::YesNoCancel:
        return {yes, no, cancel};
    case MsgButtons::RetryCancel:
        return {retry, cancel};
    case MsgButtons::AbortRetryIgnore:
        return {abort, retry, ignore};
    }
    return {ok};
}

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MsgResult showMessageBox(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(qtIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    parent);
    std::map<QAbstractButton*, MsgResult> results;
    QPushButton* escapeButton = nullptr;
    for (const ButtonSpec& spec : buttonsFor(request.buttons)) {
        QPushButton* button = box.addButton(QString::fromUtf8(spec.caption), spec.role);
        results[button] = spec.result;
        if (spec.result == request.defaultButton) box.setDefaultButton(button);
        if (spec.result == MsgResult::Cancel || spec.result == MsgResult::No ||
            request.buttons == MsgButtons::Ok)
            escapeButton = button;
    }
    if (escapeButton) box.setEscapeButton(escapeButton);
    box.exec();
    const auto found = results.find(box.clickedButton());
    return found == results.end() ? MsgResult::None : found->second;
}

} // namespace brx
