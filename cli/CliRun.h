#pragma once
// Runs one brxzip command on an unattended engine and gives the exit status.

#include "cli/CliOptions.h"

#include <QTextStream>

namespace brx::cli {

enum ExitStatus {
    ExitOk = 0,
    ExitSomeFailed = 1,
    ExitUnreadable = 2,
    ExitUsage = 3
};

int runCommand(const CliOptions& options, QTextStream& out, QTextStream& err);

} // namespace brx::cli
