// The self-extractor conversions, run with the engine's properties and
// message path; on success the produced file becomes ZipFileName.

#include "engine/ZipEngine.h"
#include "engine/sfx/SfxConvert.h"
#include "platform/ProgramInfo.h"
#include "platform/UserHost.h"

namespace brx {

namespace {

SfxProperties sfxProperties(const TZipEngine& engine)
{
    SfxProperties props;
    props.caption = engine.SFXCaption();
    props.defaultDir = engine.SFXDefaultDir();
    props.commandLine = engine.SFXCommandLine();
    props.message = engine.SFXMessage();
    props.options = engine.SFXOptions();
    props.overWriteMode = engine.SFXOverWriteMode();
    props.icon = engine.SFXIcon();
    return props;
}

} // namespace

SfxConvertContext TZipEngine::sfxContext()
{
    SfxConvertContext context;
    context.zipFileName = m_zipFileName;
    context.sfxPath = m_sfxPath;
    context.dllDirectory = m_dllDirectory;
    context.programFolder = programFolder();
    context.props = sfxProperties(*this);
    context.newArchive = m_newArchiveMode;
    context.showMessage = [this](int id, const QString& extra) { ShowZipMessage(id, extra); };
    context.eraseFile = [this](const QString& name) { return EraseFile(name, m_howToDelete); };
    context.setBusy = [this](bool busy) { m_host->setBusy(busy); };
    return context;
}

int TZipEngine::ConvertToExe()
{
    const bool reportedProgress = m_reportProgress;
    m_reportProgress = false;
    SfxConvertContext context = sfxContext();
    const int result = brx::ConvertToExe(context);
    m_sfxPath = context.sfxPath;
    m_reportProgress = reportedProgress;
    if (result == 0 && !context.newArchive)
        setZipFileName(context.zipFileName);
    return result;
}

int TZipEngine::ConvertToZip()
{
    SfxConvertContext context = sfxContext();
    const int result = brx::ConvertToZip(context);
    if (result != 0)
        return result;
    m_sfxCaption = context.props.caption;
    m_sfxDefaultDir = context.props.defaultDir;
    m_sfxCommandLine = context.props.commandLine;
    m_sfxMessage = context.props.message;
    m_sfxOptions = context.props.options;
    m_sfxOverWriteMode = context.props.overWriteMode;
    if (!context.props.icon.isEmpty())
        m_sfxIcon = context.props.icon;
    setZipFileName(context.zipFileName);
    return result;
}

} // namespace brx
