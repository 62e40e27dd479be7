#include "engine/MessagePath.h"

#include "engine/base/UserHost.h"
#include "engine/base/ZipMsg.h"
#include "support/AppGlobals.h"

namespace brx {

void MessagePath::showBox(const QString& text) {
    MessageRequest request;
    request.text = text;
    request.caption = applicationTitle();
    request.buttons = MsgButtons::Ok;
    m_host->messageBox(request);
}

void MessagePath::show(int id, const QString& extra) {
    const QString text = LoadZipStr(id) + extra;
    m_message = text;
    m_errCode = id;
    if (m_observer) m_observer(false, id, text);
    if (!m_unattended) showBox(text);
    if (m_onMessage) m_onMessage(0, text);
}

void MessagePath::report(int id, const QString& text, bool shown) {
    m_errCode = id;
    m_message = text;
    if (m_observer) m_observer(false, id, text);
    if (shown && !m_unattended) showBox(text);
    if (m_onMessage) m_onMessage(0, text);
}

void MessagePath::reportLibrary(int code, const QString& text) {
    m_message = text;
    if (code != 0) m_errCode = code & 0xFF;
    if (m_observer) m_observer(true, code, text);
    if (m_onMessage) m_onMessage(code, text);
}

} // namespace brx
