// The two entry points of ZIPDLL.DLL. No C++ exception leaves them: every
// failure becomes a message through the callback and a result of 0.

#include "brx/ZipDllAbi.h"
#include "zipdll/ArchiveCommands.h"
#include "zipdll/CallbackReporter.h"
#include "zipdll/CommandError.h"
#include "zipdll/ZipCommand.h"

#include <new>
#include <stdexcept>

#define BRX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

int32_t runCommand(const BrxZipCommandRecord& record, zipdll::CallbackReporter& reporter) {
    const zipdll::ZipCommand command = zipdll::readCommand(record);
    try {
        return command.deleteEntries ? zipdll::runDelete(command, reporter)
                                     : zipdll::runAdd(command, reporter);
    } catch (const zipdll::Cancelled&) {
        reporter.message(BRX_MSG_CANCELLED,
                         "Cancelled; " + command.archivePath + " was not changed");
    } catch (const zipdll::CommandError& error) {
        reporter.message(error.code, error.text);
    } catch (const std::bad_alloc&) {
        reporter.message(BRX_MSG_OUT_OF_MEMORY,
                         "Out of memory; " + command.archivePath + " was not changed");
    } catch (const std::exception& e) {
        reporter.message(BRX_MSG_INTERNAL_ERROR, std::string("Internal error: ") + e.what() + "; " +
                                                     command.archivePath + " was not changed");
    }
    return 0;
}

} // namespace

BRX_EXPORT int32_t ZipDllExec(BrxZipCommandRecord* record) {
    try {
        const std::string problem = zipdll::validateRecord(record);
        if (!record) return 0;
        zipdll::CallbackReporter reporter(record->callback, record->caller, record->ownerWindow);
        int32_t result = 0;
        if (!problem.empty())
            reporter.message(BRX_MSG_BAD_COMMAND, "Command refused: " + problem);
        else
            result = runCommand(*record, reporter);
        reporter.endOfBatch();
        return result;
    } catch (...) {
        return 0;
    }
}

BRX_EXPORT int32_t GetZipDllVersion(void) {
    return BRX_DLL_VERSION;
}
