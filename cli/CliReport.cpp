#include "cli/CliReport.h"

#include "engine/ZipEngine.h"

#include <unistd.h>

namespace brx::cli {

namespace {

bool needsEscape(QChar c) {
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString outcomeText(const ZipOutcome& outcome) {
    if (outcome.nothingToDo && !outcome.archiveExisted && outcome.kind != ZipOutcomeKind::Ok)
        return QStringLiteral("nothing to add; the archive was not created");
    switch (outcome.kind) {
    case ZipOutcomeKind::Ok:
        return QString();
    case ZipOutcomeKind::NothingToDo:
        return QStringLiteral("nothing to do; the archive is unchanged");
    case ZipOutcomeKind::Partial:
        return QStringLiteral("some files or entries failed");
    case ZipOutcomeKind::WrongPassword:
        return QStringLiteral("some entries were not opened: password missing or wrong (-P)");
    case ZipOutcomeKind::Damaged:
        return QStringLiteral("some entries are damaged");
    case ZipOutcomeKind::Cancelled:
        return QStringLiteral("cancelled");
    case ZipOutcomeKind::Failed:
        return QStringLiteral("failed");
    case ZipOutcomeKind::Refused:
        return QStringLiteral("nothing was done");
    case ZipOutcomeKind::Unreadable:
        return QStringLiteral("cannot be read as an archive");
    }
    return QString();
}

} // namespace

int exitStatusOf(const ZipOutcome& outcome) {
    switch (outcome.kind) {
    case ZipOutcomeKind::Ok:
    case ZipOutcomeKind::NothingToDo:
        return ExitOk;
    case ZipOutcomeKind::Unreadable:
        return ExitUnreadable;
    default:
        return ExitSomeFailed;
    }
}

QString printableName(const QString& name) {
    QString shown;
    shown.reserve(name.size());
    for (const QChar c : name) {
        if (!needsEscape(c))
            shown += c;
        else if (c.unicode() <= 0xFF)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += QStringLiteral("\\u{%1}").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return shown;
}

CliReporter::CliReporter(TZipEngine& engine, QTextStream& err, const QString& archive)
    : m_engine(engine)
    , m_err(err)
    , m_archive(printableName(archive)) {
    engine.OnMessage = [this](int, const QString& text) { onMessage(text); };
    engine.OnExtractSkipped = [this](const QString& item, UnZipSkipTypes kind, int) {
        onSkipped(item, kind);
    };
    engine.OnExtractOverwrite = [this](const QString& item, bool, bool& doOverwrite) {
        onOverwrite(item, doOverwrite);
    };
    // Nobody to ask: a missing or wrong password skips the entry.
    engine.OnPasswordError = [](QString& password, const QString&, unsigned& repeat) {
        password.clear();
        repeat = 0;
    };
    engine.OnCRC32Error = [](const QString&, uint32_t, uint32_t, bool& doExtract) {
        doExtract = false;
    };
    if (isatty(STDERR_FILENO))
        engine.OnProgress = [this](ProgressType type, const QString& name, qint64) {
            if (type == ProgrNewFile) m_err << "  " << printableName(name) << Qt::endl;
        };
}

// Engine texts may run over several lines; names inside them are escaped.
QString printableMessage(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        line = printableName(line);
    }
    return lines.join(QStringLiteral("\n  "));
}

void CliReporter::say(const QString& text) {
    m_err << "brxzip: " << m_archive << ": " << text << Qt::endl;
}

// "Nothing to do" is said once, by the outcome's line.
void CliReporter::onMessage(const QString& text) {
    if (m_engine.LastOutcome().messageKind(text) == ZipMessageKind::NothingToDo) return;
    say(printableMessage(text));
}

// Failed items come with a message of their own. Of the chosen skips only
// a kept file is told: -u and -f skip by design.
void CliReporter::onSkipped(const QString& item, int skipKind) {
    if (skipKind == SkipNoOverwrite)
        say(printableName(item) + QStringLiteral(": ") + skipReasonText(skipKind));
}

void CliReporter::onOverwrite(const QString& item, bool& doOverwrite) {
    doOverwrite = m_replaceFiles;
    if (doOverwrite) say(printableName(item) + QStringLiteral(": existing file replaced"));
}

int CliReporter::finish(const ZipOutcome& outcome) {
    const QString text = outcomeText(outcome);
    if (!text.isEmpty()) say(text);
    return exitStatusOf(outcome);
}

} // namespace brx::cli
