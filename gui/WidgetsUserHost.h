#pragma once
// The desktop's user host: real message boxes, a password prompt supplied by
// the owner (the engine's password dialog), the wait cursor.

#include "engine/base/UserHost.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace brx {

class WidgetsUserHost : public IUserHost {
public:
    using PasswordPrompt =
        std::function<std::optional<QString>(const QString& caption, const QString& prompt)>;

    explicit WidgetsUserHost(QWidget* owner = nullptr, PasswordPrompt prompt = {});

    void setOwner(QWidget* owner) { m_owner = owner; }
    void setPasswordPrompt(PasswordPrompt prompt) { m_prompt = std::move(prompt); }

    MsgResult messageBox(const MessageRequest& request) override;
    std::optional<QString> askPassword(const QString& caption, const QString& prompt) override;
    void setBusy(bool busy) override;
    void processEvents() override;

private:
    QPointer<QWidget> m_owner;
    PasswordPrompt m_prompt;
    int m_busyDepth = 0;
};

} // namespace brx
