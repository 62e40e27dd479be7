#pragma once
// The engine's user host on a terminal: questions and disk prompts are
// written to the error stream and answered by a line read from the input.
// Plain messages are not repeated here: the command prints every engine
// message once through OnMessage.

#include "engine/base/UserHost.h"

#include <QTextStream>

namespace brx::cli {

class TerminalHost final : public IUserHost {
public:
    // replaceWithoutAsking: "replace this file?" questions are answered Yes
    // without reading the input (span -o).
    TerminalHost(QTextStream& in, QTextStream& err, bool replaceWithoutAsking = false)
        : m_in(in)
        , m_err(err)
        , m_replaceWithoutAsking(replaceWithoutAsking) {}

    MsgResult messageBox(const MessageRequest& request) override;
    std::optional<QString> askPassword(const QString& caption, const QString& prompt) override;
    void setBusy(bool) override {}
    void processEvents() override;

private:
    // The answer typed for the buttons; None at the end of the input.
    MsgResult ask(const QString& choices, MsgButtons buttons);

    QTextStream& m_in;
    QTextStream& m_err;
    bool m_replaceWithoutAsking;
};

} // namespace brx::cli
