#pragma once
// What brxzip tells the user about one command: the engine's messages and
// the items it skipped or replaced, each line naming the archive, then a
// last line when the outcome needs one. The exit status comes from the
// engine's outcome.

#include "engine/ZipOutcome.h"

#include <QTextStream>

namespace brx {
class TZipEngine;
}

namespace brx::cli {

enum ExitStatus {
    ExitOk = 0,
    ExitSomeFailed = 1,
    ExitUnreadable = 2,
    ExitUsage = 3
};

int exitStatusOf(const ZipOutcome& outcome);

// A name as it may be shown on a terminal: control and formatting
// characters written as escapes (\x1b, \u{202e}).
QString printableName(const QString& name);
// The same for a message of several lines: the line breaks are kept.
QString printableMessage(const QString& text);

class CliReporter {
public:
    // archive: the name the user gave, shown in front of every line.
    CliReporter(TZipEngine& engine, QTextStream& err, const QString& archive);

    // Extraction: existing files (and names met twice) are replaced, else kept.
    void setReplaceFiles(bool replace) { m_replaceFiles = replace; }

    // One line "brxzip: ARCHIVE: text".
    void say(const QString& text);
    // The last line for the engine's outcome of the command; its exit status.
    int finish(const ZipOutcome& outcome);

private:
    void onMessage(const QString& text);
    void onSkipped(const QString& item, int skipKind);
    void onOverwrite(const QString& item, bool& doOverwrite);

    TZipEngine& m_engine;
    QTextStream& m_err;
    QString m_archive;
    bool m_replaceFiles = false;
};

} // namespace brx::cli
