#pragma once
// The user host of a run: every question goes to the window's host, but
// pending events are processed at most once per interval. The engine asks
// for a pass at every library callback (thousands per second on a large
// folder); a pass every 10 ms keeps the window alive at a fraction of the cost.

#include "engine/base/UserHost.h"

#include <QElapsedTimer>

namespace brx {

class ThrottledHost final : public IUserHost {
public:
    explicit ThrottledHost(IUserHost& inner, int intervalMs = 10)
        : m_inner(inner)
        , m_intervalMs(intervalMs) {}

    MsgResult messageBox(const MessageRequest& request) override {
        return m_inner.messageBox(request);
    }
    std::optional<QString> askPassword(const QString& caption, const QString& prompt) override {
        return m_inner.askPassword(caption, prompt);
    }
    void setBusy(bool busy) override { m_inner.setBusy(busy); }
    void processEvents() override {
        if (m_clock.isValid() && m_clock.elapsed() < m_intervalMs) return;
        m_inner.processEvents();
        m_clock.start();
    }

private:
    IUserHost& m_inner;
    int m_intervalMs;
    QElapsedTimer m_clock;
};

} // namespace brx
