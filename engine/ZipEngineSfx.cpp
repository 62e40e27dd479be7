// The self-extractor conversions, run with the engine's properties and
// message path (engine/sfx); on success the produced file becomes
// ZipFileName, which re-lists it.

#include "engine/ZipEngine.h"
#include "engine/base/ScopedGuards.h"
#include "engine/base/UserHost.h"
#include "engine/sfx/SfxConvert.h"

#include <QCoreApplication>

namespace brx {

SfxConvertContext TZipEngine::sfxContext(bool newArchive) {
    SfxConvertContext context;
    context.zipFileName = m_zipFileName;
    context.sfxPath = m_sfxPath;
    context.dllDirectory = m_dllDirectory;
    context.programFolder = QCoreApplication::applicationDirPath();
    context.newArchive = newArchive;
    context.props = {m_sfxCaption, m_sfxDefaultDir,    m_sfxCommandLine, m_sfxMessage,
                     m_sfxOptions, m_sfxOverWriteMode, m_sfxIcon};
    context.showMessage = [this](int id, const QString& extra) { ShowZipMessage(id, extra); };
    context.eraseFile = [this](const QString& name) { return EraseFile(name, m_howToDelete); };
    context.setBusy = [this](bool busy) { m_host->setBusy(busy); };
    return context;
}

namespace {

constexpr int kCheckFailed = -9;

} // namespace

int TZipEngine::ConvertToExe() {
    ZipOutcomeScope outcome(m_outcome, m_zipFileName, existingArchive());
    // A volume of a multi-volume set is not a whole archive: the stub could
    // not read the EXE, and the volume would be deleted with the source.
    if (!m_newArchiveMode && m_reader.state().isSpanned) {
        ShowExceptionError(EZipEngine::withDetail(
            DS_NoSFXSpan, QStringLiteral("\n%1 is a volume of a multi-volume set; join the set "
                                         "into one archive before making it self-extracting.")
                              .arg(m_zipFileName)));
        return outcome.setResult(kCheckFailed);
    }
    SfxConvertContext context = sfxContext(m_newArchiveMode);
    int result = 0;
    {
        const ScopedValue<bool> quiet(m_reportProgress, false);
        result = brx::ConvertToExe(context);
    }
    m_sfxPath = context.sfxPath;
    if (result == 0 && !m_newArchiveMode) setZipFileName(context.zipFileName);
    return outcome.setResult(result);
}

int TZipEngine::ConvertToZip() {
    ZipOutcomeScope outcome(m_outcome, m_zipFileName, existingArchive());
    SfxConvertContext context = sfxContext(false);
    const int result = brx::ConvertToZip(context);
    // The settings read back from the header become the engine's.
    const SfxProperties& props = context.props;
    m_sfxCaption = props.caption;
    m_sfxDefaultDir = props.defaultDir;
    m_sfxCommandLine = props.commandLine;
    m_sfxMessage = props.message;
    m_sfxOptions = props.options;
    m_sfxOverWriteMode = props.overWriteMode;
    m_sfxIcon = props.icon;
    if (result == 0) setZipFileName(context.zipFileName);
    return outcome.setResult(result);
}

} // namespace brx
