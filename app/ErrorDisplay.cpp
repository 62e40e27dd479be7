#include "app/ErrorDisplay.h"

#include "engine/base/UserHost.h"
#include "gui/WidgetsUserHost.h"
#include "support/AppGlobals.h"

#include <cstdio>
#include <exception>

namespace brx {

namespace {

IUserHost* g_host = nullptr;
bool g_boxOpen = false;

// Restores a flag when the box closes, also when showing it throws.
class BoxOpen {
public:
    BoxOpen() { g_boxOpen = true; }
    ~BoxOpen() { g_boxOpen = false; }
    BoxOpen(const BoxOpen&) = delete;
    BoxOpen& operator=(const BoxOpen&) = delete;
};

void writeToStderr(const QString& text) {
    const QByteArray line = (applicationTitle() + QStringLiteral(": ") + text).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

QString currentErrorText() {
    try {
        throw;
    } catch (const std::exception& error) {
        const QString text = QString::fromUtf8(error.what());
        if (!text.isEmpty()) return text;
    } catch (...) {}
    return QStringLiteral("Erreur inconnue.");
}

void showUnhandledError(const QString& text) {
    writeToStderr(text);
    if (g_boxOpen) return;
    const BoxOpen open;
    const MessageRequest request{text, applicationTitle(), MsgButtons::Ok, MsgIcon::Error};
    if (g_host) {
        g_host->messageBox(request);
        return;
    }
    WidgetsUserHost desktop(QApplication::activeWindow());
    desktop.messageBox(request);
}

void setErrorDisplayHost(IUserHost* host) {
    g_host = host;
}

BrxApplication::BrxApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool BrxApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString text = currentErrorText();
        try {
            showUnhandledError(text);
        } catch (...) {
            // Showing the box failed as well: the text is on stderr already.
        }
        return true;
    }
}

} // namespace brx
