#include "zipdll/ArchiveOutput.h"

#include "zipdll/CommandError.h"
#include "zipdll/TempArchive.h"
#include "zipdll/WrittenCheck.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace zipdll {

mode_t newFileMode() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

BuildOutcome writeArchive(const OutputRequest& request, const std::vector<OutputJob>& jobs,
                          CallbackReporter& reporter) {
    const ZipCommand& command = *request.command;
    struct stat before {};
    const bool replacing = ::stat(command.archivePath.c_str(), &before) == 0;
    TempArchive temp(command.archivePath, command.tempDir);
    zipcore::ZipFileWriter out(temp.takeFile());
    BuildSettings settings{command.level,    command.encrypt, command.password,
                           command.forceDos, request.comment, command.archivePath};
    ArchiveBuilder builder(settings, reporter, request.existing, out);
    BuildOutcome outcome = builder.build(jobs);
    try {
        // An archive that replaces an older one must be on disk before
        // the old one goes.
        if (replacing) out.sync();
        out.close();
    } catch (const std::system_error& e) {
        throw CommandError{BRX_MSG_WRITE_FAILED, "Cannot write " + command.archivePath + ": " +
                                                     std::strerror(e.code().value())};
    }
    if (request.checkBeforeCommit) {
        const std::string problem =
            checkWrittenEntries(temp.path(), outcome.writtenNew, command.password);
        if (!problem.empty())
            throw CommandError{BRX_MSG_WRITE_FAILED,
                               problem + "; " + command.archivePath + " was not changed"};
    }
    temp.commit(command.archivePath, replacing ? (before.st_mode & 07777) : newFileMode());
    return outcome;
}

} // namespace zipdll
