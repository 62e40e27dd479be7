// Add, Delete and Extract: the checks before, one library command, and the
// re-listing after.

#include "engine/ZCallback.h"
#include "engine/ZipCommand.h"
#include "engine/ZipEngine.h"
#include "engine/base/ScopedGuards.h"
#include "engine/ZipLibrary.h"

#include "support/PathNames.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace brx {

namespace {

constexpr int kPlaceholderPasswordLength = 80;

bool hasExeExtension(const QString& name) {
    return QFileInfo(name).suffix().toUpper() == QLatin1String("EXE");
}

// Clears a busy flag however the command ends.
} // namespace

void TZipEngine::Add() {
    m_successCnt = 0;
    bool spanning = false;
    QString target;
    if (!addPreconditions(spanning, target) || m_zipBusy) return;
    const ScopedValue<bool> busy(m_zipBusy, true);
    if (hasExeExtension(m_zipFileName) && m_arc.sfxOffset == 0 &&
        !QFileInfo::exists(m_zipFileName)) {
        int result = 0;
        {
            const ScopedValue<bool> newArchive(m_newArchiveMode, true);
            result = ConvertToExe();
        }
        if (result != 0) {
            ShowExceptionError(EZipEngine(AD_AutoSFXWrong, result));
            return;
        }
    }
    runZipCommand(target, false);
    if (m_successCnt > 0 && spanning) {
        if (WriteSpan(target, m_zipFileName) != 0) m_successCnt = 0;
        QFile::remove(target);
    }
    if (m_successCnt > 0) List();
}

bool TZipEngine::addPreconditions(bool& spanning, QString& target) {
    if (m_fSpecArgs.isEmpty()) {
        ShowZipMessage(AD_NothingToZip);
        return false;
    }
    if (m_zipFileName.isEmpty()) {
        ShowZipMessage(GE_NoZipSpecified);
        return false;
    }
    if (m_unattended && (m_addOptions & AddEncrypt) && m_password.isEmpty()) {
        ShowZipMessage(AD_UnattPassword);
        return false;
    }
    target = m_zipFileName;
    spanning = m_addOptions & (AddDiskSpan | AddDiskSpanErase);
    if (!spanning) return true;
    if (m_addOptions & (AddFreshen | AddUpdate)) {
        ShowZipMessage(AD_NoFreshenUpdate);
        return false;
    }
    if (hasExeExtension(m_zipFileName)) {
        ShowZipMessage(DS_NoSFXSpan);
        return false;
    }
    return createSpanTempName(target);
}

// The library writes the archive to a temporary file that the multi-volume
// writer then spreads over the volumes.
bool TZipEngine::createSpanTempName(QString& target) {
    QString folder = QDir::tempPath();
    if (!m_tempDir.isEmpty()) {
        if (!m_tempDir.endsWith(QLatin1Char('/'))) m_tempDir += QLatin1Char('/');
        folder = m_tempDir;
    }
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("zipXXXXXX")));
    if (!file.open()) {
        ShowZipMessage(DS_NoTempFile);
        return false;
    }
    target = file.fileName(); // removed with the object: only the name is kept
    if (m_verbose && OnMessage) OnMessage(0, QStringLiteral("Temporary zipfile: ") + target);
    return true;
}

void TZipEngine::Delete() {
    m_successCnt = 0;
    if (m_fSpecArgs.isEmpty()) {
        ShowZipMessage(DL_NothingToDel);
        return;
    }
    if (!QFileInfo(m_zipFileName).isFile()) {
        ShowZipMessage(GE_NoZipSpecified);
        return;
    }
    if (m_zipBusy) return;
    const ScopedValue<bool> busy(m_zipBusy, true);
    runZipCommand(m_zipFileName, true);
    if (m_successCnt > 0) List();
}

void TZipEngine::Extract() {
    m_successCnt = 0;
    const unsigned savedReqCount = m_passwordReqCount;
    if (!QFileInfo(m_zipFileName).isFile()) {
        ShowZipMessage(GE_NoZipSpecified);
        return;
    }
    if (m_unzBusy) return;
    const ScopedValue<bool> busy(m_unzBusy, true);
    bool reqCountChanged = false;
    if (m_unattended && m_password.isEmpty() && !OnPasswordError) {
        m_passwordReqCount = 0;
        reqCountChanged = true;
        ShowZipMessage(EX_UnAttPassword);
    }
    bool loadedHere = false;
    if (ensureLibraryLoaded(false, loadedHere)) {
        QString source = QFileInfo(m_zipFileName).absoluteFilePath();
        const bool joined = m_arc.isSpanned;
        QString joinedTarget =
            m_tempDir.isEmpty() ? QDir::tempPath() + QLatin1Char('/') : WithBackslash(m_tempDir);
        if (!joined || ReadSpan(m_zipFileName, joinedTarget) == 0) {
            if (joined) source = joinedTarget;
            if (!m_extrBaseDir.isEmpty() && QFileInfo(m_extrBaseDir).isDir())
                QDir::setCurrent(m_extrBaseDir); // the library extracts relative to it
            runUnzCommand(source);
            if (joined) QFile::remove(joinedTarget);
        }
        if (loadedHere) UnloadUnzLibrary();
    }
    if (reqCountChanged) m_passwordReqCount = savedReqCount;
}

void TZipEngine::runZipCommand(const QString& target, bool deleting) {
    bool loadedHere = false;
    if (!ensureLibraryLoaded(true, loadedHere)) return;
    m_cancel = false;
    ZipCommandInput in;
    in.ownerWindow = m_unattended ? nullptr : m_ownerWindow;
    in.caller = this;
    in.callback = &ZCallback;
    in.trace = m_trace;
    in.verbose = m_verbose;
    in.password = m_password;
    in.storeSuffixes = m_addStoreSuffixes;
    in.options = m_addOptions;
    in.level = m_addCompLevel;
    in.zipFileName = QFileInfo(target).absoluteFilePath();
    in.tempDir = m_tempDir;
    in.comment = m_arc.rawComment;
    in.specs = m_fSpecArgs;
    in.excludes = m_fSpecArgsExcl;
    in.deleting = deleting;
    ZipCommand command = ZipCommand::forZip(in, ZipLibrary::compression().version());
    m_successCnt = execute(command, true);
    m_fSpecArgs.clear();
    m_fSpecArgsExcl.clear();
    finishCommand(true, loadedHere);
}

void TZipEngine::runUnzCommand(const QString& archive) {
    m_cancel = false;
    const int version = ZipLibrary::decompression().version();
    UnzCommandInput in;
    in.ownerWindow = m_unattended ? nullptr : m_ownerWindow;
    in.caller = this;
    in.callback = &ZCallback;
    in.trace = m_trace;
    in.verbose = m_verbose;
    in.password = m_password.toUtf8();
    // An old library would prompt by itself: give it a password that cannot match.
    if (version < BRX_RECORD_V160_FIELDS && m_unattended && (m_addOptions & AddEncrypt) &&
        m_password.isEmpty())
        in.password = QByteArray(kPlaceholderPasswordLength, '~');
    in.options = m_extrOptions;
    in.zipFileName = archive;
    in.specs = m_fSpecArgs;
    in.passwordReqCount = m_passwordReqCount;
    ZipCommand command = ZipCommand::forUnz(in, version);
    m_successCnt = execute(command, false);
    m_fSpecArgs.clear();
    m_cancel = false;
}

int32_t TZipEngine::execute(ZipCommand& command, bool zip) {
    const int fatalId = zip ? GE_FatalZip : EX_FatalUnZip;
    if (command.tooManySpecs()) {
        ShowExceptionError(EZipEngine::withDetail(
            fatalId, QStringLiteral("\nThis version of the library takes at most %1 file patterns.")
                         .arg(BRX_OLD_RECORD_MAX_SPECS)));
        return 0;
    }
    m_callbackFailed = false;
    int32_t result = 0;
    void* entry = (zip ? ZipLibrary::compression() : ZipLibrary::decompression()).execEntry();
    if (zip)
        result = reinterpret_cast<BrxZipDllExecFn>(entry)(
            static_cast<BrxZipCommandRecord*>(command.record()));
    else
        result = reinterpret_cast<BrxUnzDllExecFn>(entry)(
            static_cast<BrxUnzCommandRecord*>(command.record()));
    if (m_callbackFailed) {
        ShowZipMessage(fatalId);
        return 0;
    }
    return result;
}

void TZipEngine::finishCommand(bool zip, bool loadedHere) {
    if (loadedHere) zip ? UnloadZipLibrary() : UnloadUnzLibrary();
    m_cancel = false;
}

} // namespace brx
