#include "engine/LibraryRunner.h"

#include "brx/ZipDllAbi.h"
#include "engine/MessagePath.h"
#include "engine/ZipCommand.h"
#include "engine/ZipLibrary.h"

namespace brx {

namespace {

ZipLibrary& libraryFor(bool zip) {
    return zip ? ZipLibrary::compression() : ZipLibrary::decompression();
}

} // namespace

void LibraryRunner::load(bool zip, const QString& dllDirectory, bool trace) {
    ZipLibrary& library = libraryFor(zip);
    if (library.isLoaded()) return;
    try {
        const ZipLibrary::LoadResult result = library.load(dllDirectory);
        const ZipLibraryNames& names = library.names();
        if (!result.found) {
            m_messages.show(names.notFoundId);
            return;
        }
        if (trace) m_messages.show(names.loadedId);
        if (!result.hasExec) m_messages.show(names.noExecId);
        if (!result.hasVersion) m_messages.show(names.noVersionId);
    } catch (...) {
        // A failed load leaves the library unloaded; the caller sees that.
    }
}

void LibraryRunner::unload(bool zip) {
    libraryFor(zip).unload();
}

bool LibraryRunner::isLoaded(bool zip) const {
    return libraryFor(zip).isLoaded();
}

int LibraryRunner::loadedVersion(bool zip) const {
    return libraryFor(zip).version();
}

int LibraryRunner::version(bool zip, const QString& dllDirectory, bool trace) {
    const ScopedLibrary library(*this, zip, dllDirectory, trace);
    return library.loaded() ? libraryFor(zip).version() : 0;
}

int32_t LibraryRunner::execute(ZipCommand& command, bool zip) {
    const int fatalId = zip ? GE_FatalZip : EX_FatalUnZip;
    if (command.tooManySpecs()) {
        m_messages.report(EZipEngine::withDetail(
            fatalId, QStringLiteral("\nThis version of the library takes at most %1 file patterns.")
                         .arg(BRX_OLD_RECORD_MAX_SPECS)));
        return 0;
    }
    m_callbackFailed = false;
    int32_t result = 0;
    void* entry = libraryFor(zip).execEntry();
    if (zip)
        result = reinterpret_cast<BrxZipDllExecFn>(entry)(
            static_cast<BrxZipCommandRecord*>(command.record()));
    else
        result = reinterpret_cast<BrxUnzDllExecFn>(entry)(
            static_cast<BrxUnzCommandRecord*>(command.record()));
    if (m_callbackFailed) {
        m_messages.show(fatalId);
        return 0;
    }
    return result;
}

ScopedLibrary::ScopedLibrary(LibraryRunner& runner, bool zip, const QString& dllDirectory,
                             bool trace)
    : m_runner(runner)
    , m_zip(zip)
    , m_loadedHere(!runner.isLoaded(zip)) {
    if (m_loadedHere) m_runner.load(zip, dllDirectory, trace);
}

ScopedLibrary::~ScopedLibrary() {
    if (m_loadedHere) m_runner.unload(m_zip);
}

} // namespace brx
