// The library's two entry points. No C++ exception ever leaves them: a
// failure inside a command becomes a message to the engine and a result of
// what was done so far.

#include "Extractor.h"
#include "UnzOptions.h"
#include "UnzReporter.h"
#include "brx/ZipDllAbi.h"

#include <exception>
#include <new>

#define UNZDLL_EXPORT extern "C" __attribute__((visibility("default")))

UNZDLL_EXPORT int32_t GetUnzDllVersion(void) {
    return BRX_DLL_VERSION;
}

UNZDLL_EXPORT int32_t UnzDllExec(BrxUnzCommandRecord* record) {
    if (!record) return 0;
    unzdll::UnzReporter reporter(record->callback, record->caller);
    try {
        unzdll::UnzOptions options;
        if (!unzdll::readOptions(*record, options)) {
            reporter.message(BRX_MSG_BAD_COMMAND, "UNZDLL: the command record is not usable");
            reporter.endOfBatch();
            return 0;
        }
        unzdll::Extractor extractor(options, reporter);
        return extractor.run();
    } catch (const std::bad_alloc&) {
        reporter.message(BRX_MSG_OUT_OF_MEMORY, "UNZDLL: out of memory");
    } catch (const std::exception& error) {
        reporter.message(BRX_MSG_INTERNAL_ERROR,
                         std::string("UNZDLL: internal error: ") + error.what());
    } catch (...) {
        reporter.message(BRX_MSG_INTERNAL_ERROR, "UNZDLL: internal error");
    }
    reporter.endOfBatch();
    return 0;
}
