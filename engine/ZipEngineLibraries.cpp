// The companion libraries as the engine's public operations (LibraryRunner).

#include "engine/ZipEngine.h"

namespace brx {

void TZipEngine::LoadZipLibrary() {
    m_libraries.load(true, m_dllDirectory, m_trace);
}

void TZipEngine::LoadUnzLibrary() {
    m_libraries.load(false, m_dllDirectory, m_trace);
}

void TZipEngine::UnloadZipLibrary() {
    m_libraries.unload(true);
}

void TZipEngine::UnloadUnzLibrary() {
    m_libraries.unload(false);
}

int TZipEngine::ZipLibraryVersion() {
    return m_libraries.version(true, m_dllDirectory, m_trace);
}

int TZipEngine::UnzLibraryVersion() {
    return m_libraries.version(false, m_dllDirectory, m_trace);
}

} // namespace brx
