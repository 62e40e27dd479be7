// Add, Delete and Extract: the checks before, one library command, and the
// re-listing after.

#include "engine/ZCallback.h"
#include "engine/ZipCommand.h"
#include "engine/ZipEngine.h"
#include "engine/base/ScopedGuards.h"

#include "support/PathNames.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <optional>

namespace brx {

namespace {

constexpr int kPlaceholderPasswordLength = 80;

bool hasExeExtension(const QString& name) {
    return QFileInfo(name).suffix().toUpper() == QLatin1String("EXE");
}

} // namespace

// An archive to add to: an existing file with something in it (an empty
// file is a new archive, as the compression library takes it).
bool TZipEngine::existingArchive() const {
    const QFileInfo info(m_zipFileName);
    return info.isFile() && info.size() > 0;
}

void TZipEngine::Add() {
    m_libraries.setSuccessCnt(0);
    ZipOutcomeScope outcome(m_outcome, m_zipFileName, existingArchive(),
                            &m_libraries.successCntRef());
    bool spanning = false;
    QString target;
    if (!addPreconditions(spanning, target) || m_libraries.zipBusy()) return;
    const ScopedValue<bool> busy(m_libraries.busyFlag(true), true);
    if (hasExeExtension(m_zipFileName) && m_reader.state().sfxOffset == 0 &&
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
    if (m_libraries.successCnt() > 0 && spanning) {
        if (WriteSpan(target, m_zipFileName) != 0) m_libraries.setSuccessCnt(0);
        QFile::remove(target);
    }
    if (m_libraries.successCnt() > 0) List();
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
    if (m_messages.unattended() && (m_addOptions & AddEncrypt) && m_password.isEmpty()) {
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
    m_libraries.setSuccessCnt(0);
    ZipOutcomeScope outcome(m_outcome, m_zipFileName, existingArchive(),
                            &m_libraries.successCntRef());
    if (m_fSpecArgs.isEmpty()) {
        ShowZipMessage(DL_NothingToDel);
        return;
    }
    if (!QFileInfo(m_zipFileName).isFile()) {
        ShowZipMessage(GE_NoZipSpecified);
        return;
    }
    if (m_libraries.zipBusy()) return;
    const ScopedValue<bool> busy(m_libraries.busyFlag(true), true);
    runZipCommand(m_zipFileName, true);
    if (m_libraries.successCnt() > 0) List();
}

void TZipEngine::Extract() {
    m_libraries.setSuccessCnt(0);
    ZipOutcomeScope outcome(m_outcome, m_zipFileName, existingArchive(),
                            &m_libraries.successCntRef());
    if (!QFileInfo(m_zipFileName).isFile()) {
        ShowZipMessage(GE_NoZipSpecified);
        return;
    }
    if (m_libraries.unzBusy()) return;
    const ScopedValue<bool> busy(m_libraries.busyFlag(false), true);
    // Unattended without a password: the library must not ask, for this call only.
    std::optional<ScopedValue<unsigned>> noPasswordRequests;
    if (m_messages.unattended() && m_password.isEmpty() && !OnPasswordError) {
        noPasswordRequests.emplace(m_passwordReqCount, 0u);
        ShowZipMessage(EX_UnAttPassword);
    }
    const ScopedLibrary library(m_libraries, false, m_dllDirectory, m_trace);
    if (library.loaded()) {
        QString source = QFileInfo(m_zipFileName).absoluteFilePath();
        const bool joined = m_reader.state().isSpanned;
        QString joinedTarget =
            m_tempDir.isEmpty() ? QDir::tempPath() + QLatin1Char('/') : WithBackslash(m_tempDir);
        if (!joined || ReadSpan(m_zipFileName, joinedTarget) == 0) {
            if (joined) source = joinedTarget;
            if (!m_extrBaseDir.isEmpty() && QFileInfo(m_extrBaseDir).isDir())
                QDir::setCurrent(m_extrBaseDir); // the library extracts relative to it
            runUnzCommand(source);
            if (joined) QFile::remove(joinedTarget);
        }
    }
}

void TZipEngine::runZipCommand(const QString& target, bool deleting) {
    const ScopedLibrary library(m_libraries, true, m_dllDirectory, m_trace);
    if (!library.loaded()) return;
    m_libraries.setCancel(false);
    ZipCommandInput in;
    in.ownerWindow = m_messages.unattended() ? nullptr : m_ownerWindow;
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
    in.comment = m_reader.state().rawComment;
    in.specs = m_fSpecArgs;
    in.excludes = m_fSpecArgsExcl;
    in.deleting = deleting;
    ZipCommand command = ZipCommand::forZip(in, m_libraries.loadedVersion(true));
    m_libraries.setSuccessCnt(m_libraries.execute(command, true));
    m_fSpecArgs.clear();
    m_fSpecArgsExcl.clear();
    m_libraries.setCancel(false);
}

void TZipEngine::runUnzCommand(const QString& archive) {
    m_libraries.setCancel(false);
    const int version = m_libraries.loadedVersion(false);
    UnzCommandInput in;
    in.ownerWindow = m_messages.unattended() ? nullptr : m_ownerWindow;
    in.caller = this;
    in.callback = &ZCallback;
    in.trace = m_trace;
    in.verbose = m_verbose;
    in.password = ZipCommand::libraryPassword(m_password);
    // An old library would prompt by itself: give it a password that cannot match.
    if (version < BRX_RECORD_V160_FIELDS && m_messages.unattended() &&
        (m_addOptions & AddEncrypt) && m_password.isEmpty())
        in.password = QByteArray(kPlaceholderPasswordLength, '~');
    in.options = m_extrOptions;
    in.zipFileName = archive;
    in.specs = m_fSpecArgs;
    in.passwordReqCount = m_passwordReqCount;
    ZipCommand command = ZipCommand::forUnz(in, version);
    m_libraries.setSuccessCnt(m_libraries.execute(command, false));
    m_fSpecArgs.clear();
    m_libraries.setCancel(false);
}

} // namespace brx
