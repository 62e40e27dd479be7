#pragma once
// TZipEngine, the archive engine: a non-visual object that each window owns
// once. The owner sets properties, calls an operation and follows it through
// the events. Compression proper is done by the two companion libraries;
// the engine reads directories itself and reports every message through one
// path. Everything runs on the GUI thread; the user is reached only through
// the IUserHost given at construction (never owned by the engine).

#include "engine/DirectoryReader.h"
#include "engine/LibraryRunner.h"
#include "engine/MessagePath.h"
#include "engine/base/CodePageMode.h"
#include "engine/base/EZipEngine.h"
#include "engine/ZipArchiveState.h"
#include "engine/base/ZipDirEntry.h"
#include "engine/base/ZipEngineTypes.h"
#include "engine/ZipOutcome.h"
#include "engine/span/SpanHost.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QFile;
struct BrxCallbackRecord;

namespace brx {

class IUserHost;
class IVolumes;
struct SfxConvertContext;
struct ZipCommand;

class TZipEngine {
public:
    // host and volumes default to an unattended host and the system volumes.
    explicit TZipEngine(IUserHost* host = nullptr, IVolumes* volumes = nullptr);
    ~TZipEngine();
    TZipEngine(const TZipEngine&) = delete;
    TZipEngine& operator=(const TZipEngine&) = delete;

    IUserHost& host() const { return *m_host; }
    void setHost(IUserHost* host);
    IVolumes& volumes() const { return *m_volumes; }
    // The window handle handed to the libraries (none when unattended).
    void setOwnerWindow(void* window) { m_ownerWindow = window; }

    // ---- published properties ----
    QString ZipFileName() const { return m_zipFileName; }
    void setZipFileName(const QString& name); // stores it and runs List
    QStringList FSpecArgs() const { return m_fSpecArgs; }
    void setFSpecArgs(const QStringList& specs) { m_fSpecArgs = specs; }
    QStringList FSpecArgsExcl() const { return m_fSpecArgsExcl; }
    void setFSpecArgsExcl(const QStringList& specs) { m_fSpecArgsExcl = specs; }
    AddOpts AddOptions() const { return m_addOptions; }
    void setAddOptions(AddOpts options) { m_addOptions = options; }
    ExtrOpts ExtrOptions() const { return m_extrOptions; }
    void setExtrOptions(ExtrOpts options) { m_extrOptions = options; }
    QString ExtrBaseDir() const { return m_extrBaseDir; }
    void setExtrBaseDir(const QString& dir) { m_extrBaseDir = dir; }
    int AddCompLevel() const { return m_addCompLevel; }
    void setAddCompLevel(int level) { m_addCompLevel = level; }
    AddStoreExts AddStoreSuffixes() const { return m_addStoreSuffixes; }
    void setAddStoreSuffixes(AddStoreExts suffixes) { m_addStoreSuffixes = suffixes; }
    QString Password() const { return m_password; }
    void setPassword(const QString& password); // at most 255 characters kept
    unsigned PasswordReqCount() const { return m_passwordReqCount; }
    void setPasswordReqCount(unsigned count); // capped at 15
    bool Unattended() const { return m_messages.unattended(); }
    void setUnattended(bool unattended) { m_messages.setUnattended(unattended); }
    bool Verbose() const { return m_verbose; }
    void setVerbose(bool verbose) { m_verbose = verbose; }
    bool Trace() const { return m_trace; }
    void setTrace(bool trace) { m_trace = trace; }
    QString DLLDirectory() const { return m_dllDirectory; }
    void setDLLDirectory(const QString& dir); // one trailing separator removed
    QString TempDir() const { return m_tempDir; }
    void setTempDir(const QString& dir) { m_tempDir = dir; }
    QString SFXPath() const { return m_sfxPath; }
    void setSFXPath(const QString& path) { m_sfxPath = path; }
    QString SFXCaption() const { return m_sfxCaption; }
    void setSFXCaption(const QString& caption) { m_sfxCaption = caption; }
    QString SFXDefaultDir() const { return m_sfxDefaultDir; }
    void setSFXDefaultDir(const QString& dir) { m_sfxDefaultDir = dir; }
    QString SFXCommandLine() const { return m_sfxCommandLine; }
    void setSFXCommandLine(const QString& line) { m_sfxCommandLine = line; }
    QString SFXMessage() const { return m_sfxMessage; }
    void setSFXMessage(const QString& message) { m_sfxMessage = message; }
    SFXOpts SFXOptions() const { return m_sfxOptions; }
    void setSFXOptions(SFXOpts options) { m_sfxOptions = options; }
    OvrOpts SFXOverWriteMode() const { return m_sfxOverWriteMode; }
    void setSFXOverWriteMode(OvrOpts mode) { m_sfxOverWriteMode = mode; }
    // The icon as the bytes of an .ico file (empty when none); assignment copies.
    QByteArray SFXIcon() const { return m_sfxIcon; }
    void setSFXIcon(const QByteArray& icon) { m_sfxIcon = icon; }
    qint64 KeepFreeOnDisk1() const { return m_keepFreeOnDisk1; }
    void setKeepFreeOnDisk1(qint64 bytes) { m_keepFreeOnDisk1 = bytes; }
    qint64 MaxVolumeSize() const { return m_maxVolumeSize; }
    void setMaxVolumeSize(qint64 bytes) { m_maxVolumeSize = bytes; }
    qint64 MinFreeVolumeSize() const { return m_minFreeVolumeSize; }
    void setMinFreeVolumeSize(qint64 bytes) { m_minFreeVolumeSize = bytes; }
    bool ConfirmErase() const { return m_confirmErase; }
    void setConfirmErase(bool confirm) { m_confirmErase = confirm; }
    TCodePageMode CodePage() const { return m_codePage; }
    void setCodePage(TCodePageMode mode) { m_codePage = mode; }
    THowToDelete HowToDelete() const { return m_howToDelete; }
    void setHowToDelete(THowToDelete how) { m_howToDelete = how; }
    QString VersionInfo() const { return QStringLiteral("1.60 K"); }
    void setVersionInfo(const QString&) {} // read-only in effect

    // ---- events ("assigned" = non-empty) ----
    TZipMessageEvent OnMessage;
    TProgressEvent OnProgress;
    TNotifyEvent OnDirUpdate;
    TNewNameEvent OnNewName;
    TSetNewNameEvent OnSetNewName;
    TPasswordErrorEvent OnPasswordError;
    TCRC32ErrorEvent OnCRC32Error;
    TExtractOverwriteEvent OnExtractOverwrite;
    TExtractSkippedEvent OnExtractSkipped;
    TCopyZipOverwriteEvent OnCopyZipOverwrite; // declared; never raised

    // ---- run-time state ----
    int Count() const;
    const QList<ZipDirEntry>& ZipContents() const { return m_reader.entries(); }
    int SuccessCnt() const { return m_libraries.successCnt(); }
    int ErrCode() const { return m_messages.errCode(); }
    QString Message() const { return m_messages.message(); }
    QString ZipComment() const { return m_reader.comment(m_codePage); }
    QByteArray rawZipComment() const { return m_reader.state().rawComment; }
    qint64 SFXOffset() const { return m_reader.state().sfxOffset; }
    bool IsSpanned() const { return m_reader.state().isSpanned; }
    bool ZipBusy() const { return m_libraries.zipBusy(); }
    bool UnzBusy() const { return m_libraries.unzBusy(); }
    bool Cancel() const { return m_libraries.cancel(); }
    void setCancel(bool cancel) { m_libraries.setCancel(cancel); }
    const ZipArchiveState& archiveState() const { return m_reader.state(); }
    // What the last operation came to (kept until the next one starts).
    const ZipOutcome& LastOutcome() const { return m_outcome.outcome(); }

    // ---- operations ----
    void Add();
    void Delete();
    void Extract();
    void List();
    // Self-extractor conversion and multi-volume copies (own source files).
    int ConvertToExe();
    int ConvertToZip();
    int WriteSpan(const QString& source, const QString& firstVolume);
    int ReadSpan(const QString& archiveName, QString& target);
    int CopyFileChecked(const QString& source, const QString& dest);
    int EraseFile(const QString& name, THowToDelete how);
    void AskAddPassword(QString& password);
    void AskExtractPassword(QString& password);

    // ---- libraries ----
    void LoadZipLibrary();
    void LoadUnzLibrary();
    void UnloadZipLibrary();
    void UnloadUnzLibrary();
    int ZipLibraryVersion();
    int UnzLibraryVersion();

    // ---- the message path ----
    void ShowZipMessage(int id, const QString& extra = QString());
    void ShowExceptionError(const EZipEngine& e);
    // A message with its text already made: stored, shown when asked (and
    // not unattended), passed to OnMessage.
    void reportMessage(int id, const QString& text, bool show);
    // Formats a disk before it is written (multi-volume writes); empty: never.
    void setDiskFormat(DiskFormatFn format) { m_diskFormat = std::move(format); }
    void reportLibraryMessage(int code, const QString& text);

    // Block copy of count bytes (-1 = to the end); 0 or -2. Also used by the
    // self-extractor and multi-volume code.
    int copyBuffer(QFile& in, QFile& out, qint64 count);
    void setProgressReporting(bool on) { m_reportProgress = on; }

    // End-record search: true when found (record in archiveState()). Strict
    // mode raises EZipEngine on failure; quiet mode reports and returns false.
    bool findEndRecord(QFile& archive, bool strict);

    // Called by the library callback (ZCallback); never throws.
    int32_t dispatchCallback(BrxCallbackRecord& record) noexcept;

private:
    QString requestDirectoryVolume(const QString& current, int disk, int totalDisks);

    SpanSettings spanSettings() const;
    bool existingArchive() const;
    SfxConvertContext sfxContext(bool newArchive);

    bool addPreconditions(bool& spanning, QString& target);
    bool createSpanTempName(QString& target);
    void runZipCommand(const QString& target, bool deleting);
    void runUnzCommand(const QString& archive);
    void answerPassword(BrxCallbackRecord& record, const QString& text);
    void answerCrcError(BrxCallbackRecord& record, const QString& text);
    void answerOverwrite(BrxCallbackRecord& record, const QString& text);
    void answerNewName(BrxCallbackRecord& record);
    void progress(ProgressType type, const QString& name, qint64 size);
    std::optional<QString> passwordDialog(int promptId);
    void keepAskedPassword(const QString& password);

    IUserHost* m_host = nullptr;
    IVolumes* m_volumes = nullptr;

    QString m_zipFileName;
    QStringList m_fSpecArgs;
    QStringList m_fSpecArgsExcl;
    AddOpts m_addOptions;
    ExtrOpts m_extrOptions;
    QString m_extrBaseDir;
    int m_addCompLevel = 9;
    AddStoreExts m_addStoreSuffixes;
    QString m_password;
    unsigned m_passwordReqCount = 1;
    bool m_verbose = false;
    bool m_trace = false;
    QString m_dllDirectory;
    QString m_tempDir;
    QString m_sfxPath = QStringLiteral("ZipSFX.bin");
    QString m_sfxCaption = QStringLiteral("Self-extracting Archive");
    QString m_sfxDefaultDir;
    QString m_sfxCommandLine;
    QString m_sfxMessage;
    SFXOpts m_sfxOptions = SFXCheckSize;
    OvrOpts m_sfxOverWriteMode = OvrConfirm;
    QByteArray m_sfxIcon;
    qint64 m_keepFreeOnDisk1 = 0;
    qint64 m_maxVolumeSize = 0;
    qint64 m_minFreeVolumeSize = 65536;
    bool m_confirmErase = true;
    TCodePageMode m_codePage = cpAuto;
    THowToDelete m_howToDelete = htdAllowUndo;

    ZipOutcomeRecorder m_outcome;
    MessagePath m_messages{m_host, OnMessage};
    DirectoryReader m_reader{*m_volumes, m_messages, OnNewName,
                             [this](const QString& current, int disk, int totalDisks) {
                                 return requestDirectoryVolume(current, disk, totalDisks);
                             }};
    LibraryRunner m_libraries{m_messages};
    bool m_reportProgress = true;
    bool m_answeringLibrary = false; // a library password request is running
    bool m_newArchiveMode = false;   // ConvertToExe called by Add for a new .exe
    void* m_ownerWindow = nullptr;
    DiskFormatFn m_diskFormat;
};

} // namespace brx
