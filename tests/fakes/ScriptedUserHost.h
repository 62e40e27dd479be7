#pragma once
// A user host whose answers are queued by the test and whose questions are
// recorded, so that tests can check both what was asked and what followed.

#include "engine/base/UserHost.h"

#include <QList>
#include <deque>

namespace brx {

class ScriptedUserHost final : public IUserHost {
public:
    // Answers are consumed in order; when none is queued a box answers
    // defaultAnswer and a password prompt is cancelled.
    void queueAnswer(MsgResult answer) { m_answers.push_back(answer); }
    void queuePassword(std::optional<QString> password) {
        m_passwords.push_back(QueuedPassword{password.has_value(), password.value_or(QString())});
    }
    MsgResult defaultAnswer = MsgResult::None;

    QList<MessageRequest> messages;
    QList<QPair<QString, QString>> passwordPrompts; // caption, prompt
    int busyDepth = 0;
    int eventPasses = 0;

    MsgResult messageBox(const MessageRequest& request) override {
        messages.append(request);
        if (m_answers.empty()) return defaultAnswer;
        const MsgResult answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    std::optional<QString> askPassword(const QString& caption, const QString& prompt) override {
        passwordPrompts.append({caption, prompt});
        if (m_passwords.empty()) return std::nullopt;
        const QueuedPassword answer = m_passwords.front();
        m_passwords.pop_front();
        if (!answer.confirmed) return std::nullopt;
        return answer.text;
    }

    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    void processEvents() override { ++eventPasses; }

private:
    std::deque<MsgResult> m_answers;
    struct QueuedPassword {
        bool confirmed;
        QString text;
    };
    std::deque<QueuedPassword> m_passwords;
};

} // namespace brx
