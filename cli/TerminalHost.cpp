#include "cli/TerminalHost.h"

#include <QCoreApplication>

#include <termios.h>
#include <unistd.h>

namespace brx::cli {

namespace {

QString choicesFor(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
        return QString();
    case MsgButtons::OkCancel:
        return QStringLiteral("Press Enter when ready, or type c to cancel: ");
    case MsgButtons::YesNo:
        return QStringLiteral("[y]es or [n]o? ");
    case MsgButtons::YesNoCancel:
        return QStringLiteral("[y]es, [n]o or [c]ancel? ");
    case MsgButtons::RetryCancel:
        return QStringLiteral("[r]etry or [c]ancel? ");
    case MsgButtons::AbortRetryIgnore:
        return QStringLiteral("[a]bort, [r]etry or [i]gnore? ");
    }
    return QString();
}

// The answer a typed line gives for the buttons, or None when it fits none.
MsgResult answerOf(const QString& line, MsgButtons buttons) {
    const QString word = line.trimmed().toLower();
    const QChar first = word.isEmpty() ? QChar() : word.front();
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgResult::Ok;
    case MsgButtons::OkCancel:
        return first == QLatin1Char('c') ? MsgResult::Cancel : MsgResult::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        if (first == QLatin1Char('y') || first == QLatin1Char('o')) return MsgResult::Yes;
        if (first == QLatin1Char('n')) return MsgResult::No;
        if (first == QLatin1Char('c') && buttons == MsgButtons::YesNoCancel)
            return MsgResult::Cancel;
        return MsgResult::None;
    case MsgButtons::RetryCancel:
        if (first == QLatin1Char('r')) return MsgResult::Retry;
        return first == QLatin1Char('c') ? MsgResult::Cancel : MsgResult::None;
    case MsgButtons::AbortRetryIgnore:
        if (first == QLatin1Char('a')) return MsgResult::Abort;
        if (first == QLatin1Char('r')) return MsgResult::Retry;
        return first == QLatin1Char('i') ? MsgResult::Ignore : MsgResult::None;
    }
    return MsgResult::None;
}

bool isReplaceQuestion(const MessageRequest& request) {
    return request.buttons == MsgButtons::YesNo || request.buttons == MsgButtons::YesNoCancel;
}

// Typing a password on a terminal does not echo it.
class EchoOff {
public:
    EchoOff() : m_active(isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &m_saved) == 0) {
        if (!m_active) return;
        termios quiet = m_saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    ~EchoOff() {
        if (m_active) tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios m_saved{};
    bool m_active;
};

} // namespace

MsgResult TerminalHost::messageBox(const MessageRequest& request) {
    if (request.buttons == MsgButtons::Ok) return MsgResult::Ok;
    m_err << "brxzip: " << request.text << Qt::endl;
    if (m_replaceWithoutAsking && isReplaceQuestion(request)) {
        m_err << "brxzip: replacing it (-o)" << Qt::endl;
        return MsgResult::Yes;
    }
    return ask(choicesFor(request.buttons), request.buttons);
}

MsgResult TerminalHost::ask(const QString& choices, MsgButtons buttons) {
    for (;;) {
        m_err << choices << Qt::flush;
        QString line;
        if (!m_in.readLineInto(&line)) {
            m_err << Qt::endl;
            return MsgResult::None; // end of input: nobody is there to answer
        }
        const MsgResult answer = answerOf(line, buttons);
        if (answer != MsgResult::None) return answer;
    }
}

std::optional<QString> TerminalHost::askPassword(const QString&, const QString& prompt) {
    m_err << prompt.trimmed() << ": " << Qt::flush;
    QString line;
    bool read = false;
    {
        EchoOff echoOff;
        read = m_in.readLineInto(&line);
    }
    m_err << Qt::endl;
    if (!read) return std::nullopt;
    return line;
}

void TerminalHost::processEvents() {
    QCoreApplication::processEvents();
}

} // namespace brx::cli
