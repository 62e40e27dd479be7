// brxzip: the archive engine from the command line (see --help).

#include "cli/CliOptions.h"
#include "cli/CliRun.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString error;
    const auto options = brx::cli::parseCommandLine(app.arguments().mid(1), error);
    if (!options) {
        err << "brxzip: " << error << "\nTry 'brxzip --help'." << Qt::endl;
        return brx::cli::ExitUsage;
    }
    const int status = brx::cli::runCommand(*options, out, err);
    out.flush();
    return status;
}
