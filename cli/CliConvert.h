#pragma once
// brxzip commands that change an archive's form: self-extracting EXE and
// back, and multi-volume sets.

#include "cli/CliOptions.h"

#include <QTextStream>

namespace brx {
class TZipEngine;
}

namespace brx::cli {

int runSfx(TZipEngine& engine, const CliOptions& options, QTextStream& err);
int runUnsfx(TZipEngine& engine, const CliOptions& options, QTextStream& err);
int runSpan(TZipEngine& engine, const CliOptions& options, QTextStream& err);

} // namespace brx::cli
