#pragma once
// The host an engine uses when its owner gives none: no one to ask, so boxes
// answer nothing and password prompts are cancelled; events are still
// processed so that a running library call stays responsive.

#include "engine/base/UserHost.h"

namespace brx {

class UnattendedHost final : public IUserHost {
public:
    MsgResult messageBox(const MessageRequest&) override { return MsgResult::None; }
    std::optional<QString> askPassword(const QString&, const QString&) override {
        return std::nullopt;
    }
    void setBusy(bool) override {}
    void processEvents() override;

    static UnattendedHost& instance();
};

} // namespace brx
