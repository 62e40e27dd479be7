#pragma once
// brxzip commands on the entries of an archive.

#include "cli/CliCommands.h"

namespace brx::cli {

int runList(CliContext& c);
int runAdd(CliContext& c);
int runExtract(CliContext& c);
int runTest(CliContext& c);
int runDelete(CliContext& c);

// Points the engine at an existing archive and reads its directory; false
// (reported, with the exit status) when there is no such file or it cannot
// be read.
bool openArchive(CliContext& c, int& status);

} // namespace brx::cli
