// The self-extractor conversions, run with the engine's properties and
// message path (engine/sfx); on success the produced file becomes
// ZipFileName, which re-lists it.

#include "engine/ZipEngine.h"
#include "engine/sfx/EngineBridge.h"
#include "engine/base/UserHost.h"

namespace brx {

int TZipEngine::ConvertToExe() {
    const bool reportedProgress = m_reportProgress;
    m_reportProgress = false;
    const int result = runConvertToExe(*this, m_newArchiveMode);
    m_reportProgress = reportedProgress;
    return result;
}

int TZipEngine::ConvertToZip() {
    return runConvertToZip(*this);
}

} // namespace brx
