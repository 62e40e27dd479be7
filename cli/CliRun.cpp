#include "cli/CliRun.h"

#include "cli/CliCommands.h"
#include "engine/ZipEngine.h"

namespace brx::cli {

int runCommand(const CliOptions& o, QTextStream& out, QTextStream& err) {
    const CliCommand* command = findCommand(o.command);
    if (!command) {
        out << usageText();
        return ExitOk;
    }
    TZipEngine engine;
    engine.setUnattended(true);
    // A command-line tool deletes what it replaces: copies of whole archives
    // would otherwise pile up in the trash.
    engine.setHowToDelete(htdFinal);
    CliReporter report(engine, err, o.archive);
    CliContext context{engine, o, out, err, report};
    return command->run(context);
}

} // namespace brx::cli
