#pragma once
// The engine's one message path: its own messages by id, caught EZipEngine
// exceptions and the libraries' messages all become the last message
// (ErrCode, Message), a message box unless unattended, and OnMessage.
// Owned by TZipEngine; the host and the event are the engine's own.

#include "engine/base/EZipEngine.h"
#include "engine/base/ZipEngineTypes.h"

#include <QString>

#include <functional>

namespace brx {

class IUserHost;

class MessagePath {
public:
    MessagePath(IUserHost* const& host, const TZipMessageEvent& onMessage)
        : m_host(host)
        , m_onMessage(onMessage) {}

    bool unattended() const { return m_unattended; }
    void setUnattended(bool unattended) { m_unattended = unattended; }
    int errCode() const { return m_errCode; }
    const QString& message() const { return m_message; }

    // The id's text followed by extra; always shown unless unattended.
    void show(int id, const QString& extra = QString());
    // A text already made, shown when asked (and not unattended).
    void report(int id, const QString& text, bool shown);
    void report(const EZipEngine& e) { report(e.ResourceId(), e.Message(), e.DisplayMessage()); }
    // Library messages are never shown in a box: the owner decides through
    // OnMessage, which receives the library's own code.
    void reportLibrary(int code, const QString& text);

    // Sees every message before OnMessage does (the engine's outcome record):
    // library is true for the libraries' messages, whose code is theirs.
    using Observer = std::function<void(bool library, int idOrCode, const QString& text)>;
    void observe(Observer observer) { m_observer = std::move(observer); }

private:
    void showBox(const QString& text);

    IUserHost* const& m_host;
    const TZipMessageEvent& m_onMessage;
    Observer m_observer;
    bool m_unattended = false;
    int m_errCode = 0;
    QString m_message;
};

} // namespace brx
