#pragma once
// The table of brxzip commands: name, flags, operands, what runs it and its
// help text. The parser, the dispatcher and --help all read it.

#include "cli/CliOptions.h"

#include <QList>
#include <QTextStream>

namespace brx {
class TZipEngine;
}

namespace brx::cli {

class CliReporter;

// What a command runs with.
struct CliContext {
    TZipEngine& engine;
    const CliOptions& options;
    QTextStream& out;
    QTextStream& err;
    CliReporter& report;
};

using CommandRunner = int (*)(CliContext&);

struct CliCommand {
    QString name;
    QStringList flags; // a flag followed by a value ends with ':'
    int minSpecs = 0;  // operands after the archive
    int maxSpecs = 0;  // -1: any number
    CommandRunner run = nullptr;
    QString usage; // synopsis line, then the explanation
};

const QList<CliCommand>& commandTable();
const CliCommand* findCommand(const QString& name);
QString usageText();

} // namespace brx::cli
