#pragma once
// Runs one brxzip command on an unattended engine and gives the exit status.

#include "cli/CliOptions.h"
#include "cli/CliReport.h"

#include <QTextStream>

namespace brx::cli {

int runCommand(const CliOptions& options, QTextStream& out, QTextStream& err);

} // namespace brx::cli
