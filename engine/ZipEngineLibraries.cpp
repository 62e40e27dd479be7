// Loading and unloading the companion libraries for an engine, with the
// messages the owner sees.

#include "engine/ZipEngine.h"
#include "engine/ZipLibrary.h"

namespace brx {

namespace {

ZipLibrary& libraryFor(bool zip) {
    return zip ? ZipLibrary::compression() : ZipLibrary::decompression();
}

} // namespace

bool TZipEngine::ensureLibraryLoaded(bool zip, bool& loadedHere) {
    ZipLibrary& library = libraryFor(zip);
    loadedHere = !library.isLoaded();
    if (loadedHere) zip ? LoadZipLibrary() : LoadUnzLibrary();
    return library.isLoaded();
}

void TZipEngine::LoadZipLibrary() {
    loadLibrary(ZipLibrary::compression());
}

void TZipEngine::LoadUnzLibrary() {
    loadLibrary(ZipLibrary::decompression());
}

void TZipEngine::loadLibrary(ZipLibrary& library) {
    if (library.isLoaded()) return;
    try {
        const ZipLibrary::LoadResult result = library.load(m_dllDirectory);
        const ZipLibraryNames& names = library.names();
        if (!result.found) {
            ShowZipMessage(names.notFoundId);
            return;
        }
        if (m_trace) ShowZipMessage(names.loadedId);
        if (!result.hasExec) ShowZipMessage(names.noExecId);
        if (!result.hasVersion) ShowZipMessage(names.noVersionId);
    } catch (...) {
        // A failed load leaves the library unloaded; the caller sees that.
    }
}

void TZipEngine::UnloadZipLibrary() {
    ZipLibrary::compression().unload();
}

void TZipEngine::UnloadUnzLibrary() {
    ZipLibrary::decompression().unload();
}

int TZipEngine::ZipLibraryVersion() {
    return libraryVersion(true);
}

int TZipEngine::UnzLibraryVersion() {
    return libraryVersion(false);
}

int TZipEngine::libraryVersion(bool zip) {
    bool loadedHere = false;
    if (!ensureLibraryLoaded(zip, loadedHere)) return 0;
    const int version = libraryFor(zip).version();
    if (loadedHere) libraryFor(zip).unload();
    return version;
}

} // namespace brx
