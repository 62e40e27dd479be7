// The self-extractor conversions, run with the engine's properties and
// message path (engine/sfx); on success the produced file becomes
// ZipFileName, which re-lists it.

#include "engine/ZipEngine.h"
#include "engine/sfx/EngineBridge.h"
#include "engine/base/UserHost.h"

namespace brx {

namespace {

constexpr int kCheckFailed = -9;

} // namespace

int TZipEngine::ConvertToExe() {
    ZipOutcomeScope outcome(m_outcome, m_zipFileName, existingArchive());
    // A volume of a multi-volume set is not a whole archive: the stub could
    // not read the EXE, and the volume would be deleted with the source.
    if (!m_newArchiveMode && m_arc.isSpanned) {
        ShowExceptionError(EZipEngine::withDetail(
            DS_NoSFXSpan, QStringLiteral("\n%1 is a volume of a multi-volume set; join the set "
                                         "into one archive before making it self-extracting.")
                              .arg(m_zipFileName)));
        return outcome.setResult(kCheckFailed);
    }
    const bool reportedProgress = m_reportProgress;
    m_reportProgress = false;
    const int result = runConvertToExe(*this, m_newArchiveMode);
    m_reportProgress = reportedProgress;
    return outcome.setResult(result);
}

int TZipEngine::ConvertToZip() {
    ZipOutcomeScope outcome(m_outcome, m_zipFileName, existingArchive());
    return outcome.setResult(runConvertToZip(*this));
}

} // namespace brx
