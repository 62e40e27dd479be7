#include "platform/DesktopExec.h"

namespace brx {

namespace {

constexpr QChar kQuote = QLatin1Char('"');
constexpr QChar kBackslash = QLatin1Char('\\');
constexpr QChar kPercent = QLatin1Char('%');

bool isSeparator(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// One argument as it is being read: its text, and whether anything in it
// came from outside a field code (a literal character or a pair of quotes).
struct Argument {
    QString text;
    bool literal = false;
    bool fieldCodesOnly() const { return !literal; }
};

class ExecExpander {
public:
    ExecExpander(const QString& exec, const DesktopExecContext& context)
        : m_exec(exec)
        , m_context(context) {}

    std::optional<QStringList> expand() {
        while (m_pos < m_exec.size()) {
            if (isSeparator(m_exec.at(m_pos))) {
                endArgument();
                ++m_pos;
            } else if (!readPart()) {
                return std::nullopt;
            }
        }
        endArgument();
        if (m_args.isEmpty()) return std::nullopt;
        if (!m_namedFile) m_args.append(m_context.file);
        return m_args;
    }

private:
    // Reads one quoted run, one escaped character, one field code or one
    // plain character of the current argument; false on a malformed line.
    bool readPart() {
        m_inArgument = true;
        const QChar c = m_exec.at(m_pos);
        if (c == kQuote) return readQuoted();
        if (c == kBackslash) {
            if (m_pos + 1 >= m_exec.size()) return false;
            appendLiteral(m_exec.at(m_pos + 1));
            m_pos += 2;
            return true;
        }
        if (c == kPercent) return readFieldCode();
        appendLiteral(c);
        ++m_pos;
        return true;
    }

    // Inside quotes a backslash escapes the next character ("\"", "\`",
    // "\$", "\\") and "%" is an ordinary character.
    bool readQuoted() {
        m_current.literal = true;
        for (++m_pos; m_pos < m_exec.size(); ++m_pos) {
            const QChar c = m_exec.at(m_pos);
            if (c == kQuote) {
                ++m_pos;
                return true;
            }
            if (c == kBackslash) {
                if (++m_pos >= m_exec.size()) return false;
            }
            m_current.text += m_exec.at(m_pos);
        }
        return false; // unclosed quote
    }

    bool readFieldCode() {
        if (m_pos + 1 >= m_exec.size()) return false;
        const char code = m_exec.at(m_pos + 1).toLatin1();
        m_pos += 2;
        switch (code) {
        case '%':
            appendLiteral(kPercent);
            return true;
        case 'f':
        case 'F':
        case 'u':
        case 'U':
            m_namedFile = true;
            m_current.text += m_context.file;
            return true;
        case 'i':
            readIcon();
            return true;
        case 'c':
            m_current.text += m_context.name;
            return true;
        case 'k':
            m_current.text += m_context.desktopFile;
            return true;
        case 'd':
        case 'D':
        case 'n':
        case 'N':
        case 'v':
        case 'm':
            return true; // deprecated: dropped
        default:
            return false;
        }
    }

    // On its own, %i stands for two arguments, "--icon" and the icon, or for
    // none without an icon; inside a longer argument, for the icon's name.
    void readIcon() {
        const bool alone = m_current.text.isEmpty() && m_current.fieldCodesOnly() &&
                           (m_pos >= m_exec.size() || isSeparator(m_exec.at(m_pos)));
        if (!alone) {
            m_current.text += m_context.icon;
            return;
        }
        if (!m_context.icon.isEmpty()) m_args << QStringLiteral("--icon") << m_context.icon;
        m_inArgument = false;
    }

    void appendLiteral(QChar c) {
        m_current.text += c;
        m_current.literal = true;
    }

    // An argument made only of field codes that gave nothing is dropped;
    // an empty pair of quotes is an empty argument.
    void endArgument() {
        if (m_inArgument && !(m_current.fieldCodesOnly() && m_current.text.isEmpty()))
            m_args << m_current.text;
        m_current = Argument();
        m_inArgument = false;
    }

    const QString& m_exec;
    const DesktopExecContext& m_context;
    qsizetype m_pos = 0;
    QStringList m_args;
    Argument m_current;
    bool m_inArgument = false;
    bool m_namedFile = false;
};

} // namespace

QString unescapeDesktopString(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != kBackslash || i + 1 >= value.size()) {
            out += c;
            continue;
        }
        switch (value.at(i + 1).toLatin1()) {
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case '\\':
            out += kBackslash;
            break;
        default:
            out += c; // not a string escape: kept for the quoting rule
            continue;
        }
        ++i;
    }
    return out;
}

std::optional<QStringList> expandDesktopExec(const QString& exec,
                                             const DesktopExecContext& context) {
    const QString unescaped = unescapeDesktopString(exec);
    return ExecExpander(unescaped, context).expand();
}

} // namespace brx
