#pragma once
// brxzip commands that change an archive's form: self-extracting EXE and
// back, and multi-volume sets.

#include "cli/CliCommands.h"

namespace brx::cli {

int runSfx(CliContext& c);
int runUnsfx(CliContext& c);
int runSpan(CliContext& c);

} // namespace brx::cli
