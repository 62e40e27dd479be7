#pragma once
// The one way the engine and the support code reach a person: message boxes,
// the password prompt, the busy cursor and event processing. The GUI supplies
// an implementation over Qt Widgets; the command line and the tests supply
// scripted or unattended ones.

#include <QString>
#include <optional>

namespace brx {

enum class MsgButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    RetryCancel,
    AbortRetryIgnore
};
enum class MsgIcon {
    None,
    Information,
    Warning,
    Error,
    Question
};
// None is the answer of a box that could not be shown or was closed without a button.
enum class MsgResult {
    None,
    Ok,
    Cancel,
    Yes,
    No,
    Retry,
    Abort,
    Ignore
};

struct MessageRequest {
    QString text;
    QString caption;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    // The answer that Enter picks; None means the first button.
    MsgResult defaultButton = MsgResult::None;
};

class IUserHost {
public:
    virtual ~IUserHost() = default;

    virtual MsgResult messageBox(const MessageRequest& request) = 0;

    // Shows a modal password prompt (at most 80 characters typed).
    // Returns the text when confirmed with OK, nothing when cancelled or closed.
    virtual std::optional<QString> askPassword(const QString& caption, const QString& prompt) = 0;

    virtual void setBusy(bool busy) = 0;
    virtual void processEvents() = 0;
};

} // namespace brx
