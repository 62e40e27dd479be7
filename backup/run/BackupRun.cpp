// The run as a whole (ZipButGo): reset, destination, compression, transfer,
// cleaning and report. Compression and transfer have files of their own.

#include "backup/run/BackupRun.h"

#include "backup/run/BackupLog.h"
#include "backup/run/ThrottledHost.h"
#include "engine/ZipEngine.h"
#include "engine/base/UserHost.h"
#include "platform/DiskEject.h"
#include "platform/FilesInUse.h"
#include "platform/Volumes.h"
#include "support/AppGlobals.h"
#include "support/DiskEject.h"
#include "support/DriveProbe.h"
#include "support/Folders.h"
#include "support/PathNames.h"
#include "support/TextFormat.h"
#include "support/WaitMs.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>

namespace brx {

namespace {

const QString kDiskPrompt =
    QStringLiteral("Insérez une disquette dans le lecteur.\r\nSi vous annulez (Touche ESC),\r\n"
                   "la sauvegarde se fera sur le disque dur ");
constexpr int kRunClientHeight = 330;

// Clears a flag when the run leaves, however it leaves.
struct RunningFlag {
    explicit RunningFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~RunningFlag() { m_flag = false; }
    bool& m_flag;
};

// Gives the engine the run's host for the length of the run.
class RunHost {
public:
    explicit RunHost(TZipEngine& engine)
        : m_engine(engine)
        , m_window(engine.host())
        , m_throttled(m_window) {
        m_engine.setHost(&m_throttled);
    }
    ~RunHost() { m_engine.setHost(&m_window); }

private:
    TZipEngine& m_engine;
    IUserHost& m_window;
    ThrottledHost m_throttled;
};

} // namespace

BackupRun::BackupRun(TZipEngine& engine, BackupLog& log, BackupServices services, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
    , m_log(log)
    , m_services(std::move(services))
    , m_volumes(m_services.volumes ? *m_services.volumes : systemVolumes()) {
    configureEngine();
}

BackupRun::~BackupRun() {
    m_engine.OnMessage = nullptr;
    m_engine.OnProgress = nullptr;
}

// The backup engine's settings that never change from run to run.
void BackupRun::configureEngine() {
    m_engine.setHowToDelete(htdFinal);
    m_engine.setUnattended(false);
    m_engine.setVerbose(false);
    m_engine.setTrace(false);
    m_engine.setKeepFreeOnDisk1(0);
    m_engine.setPasswordReqCount(0);
    m_engine.setSFXPath(QStringLiteral("ZipSFX.bin"));
    m_engine.OnMessage = [this](int code, const QString& text) { ZipEngine1Message(code, text); };
    m_engine.OnProgress = [this](ProgressType type, const QString& name, qint64 size) {
        ZipEngine1Progress(type, name, size);
    };
}

void BackupRun::cancel() {
    if (m_running) m_engine.setCancel(true);
}

bool BackupRun::ZipButGo(BackupRequest& request) {
    if (m_running || request.destinationFolder.isEmpty()) return false;
    const RunningFlag running(m_running);
    const RunHost host(m_engine);
    m_request = &request;
    emit runStarted();
    resetRun(request);
    prepareDestination(request);
    checkDestination(request);
    emit clientHeightRequested(kRunClientHeight);
    Zippage(request);
    CopieSupport(request);
    cleanStaging(request);
    m_outcome.destinationArchive = destinationArchive(request);
    m_outcome.sizeText = FileSizeText(m_outcome.destinationArchive);
    setCaption(QStringLiteral("Sauvegarde des données : Terminée."));
    m_outcome.destinationText = m_outcome.destinationArchive + QStringLiteral("  [ ") +
                                m_outcome.sizeText + QStringLiteral(" ]");
    emit destinationTextChanged(m_outcome.destinationText);
    InfosErreurs(request);
    m_request = nullptr;
    m_inUse.reset();
    emit runFinished(m_outcome);
    return true;
}

void BackupRun::resetRun(const BackupRequest& request) {
    m_outcome = BackupOutcome{};
    m_spanned = false;
    m_barPosition = 0;
    m_engine.setCancel(false);
    emit currentFileChanged(QString());
    emit finalInfoChanged(QString());
    emit filesCounterChanged(QStringLiteral("Fichiers traités : "));
    m_dateText = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    emit hintChanged(QStringLiteral("|Date : ") + m_dateText);
    m_outcome.destinationArchive = destinationArchive(request);
}

// Creates a missing destination and measures whether it is removable.
void BackupRun::prepareDestination(BackupRequest& request) {
    const QString folder = request.destinationFolder;
    if (!FolderExists(folder) && !isVolumeRoot(folder, m_volumes)) {
        ForceFolders(folder);
        const QString result =
            FolderExists(folder) ? QStringLiteral(" ---> OK ") : QStringLiteral(" ---> ERREURS !");
        addLog(QStringLiteral(" Création dossier : ") + folder + result);
    }
    const QString root = m_volumes.volumeRootOf(folder);
    m_outcome.removable = m_volumes.driveType(root) == DriveType::Removable;
}

// Waits for a medium in the destination's drive; Cancel moves the backup
// to the home folder.
void BackupRun::checkDestination(BackupRequest& request) {
    while (ProbeDrive(m_volumes.volumeRootOf(request.destinationFolder), m_volumes) ==
           kProbeNotReady) {
        MessageRequest prompt;
        prompt.text = kDiskPrompt + homeFolder();
        prompt.caption = applicationTitle();
        prompt.buttons = MsgButtons::OkCancel;
        prompt.icon = MsgIcon::Information;
        if (m_engine.host().messageBox(prompt) == MsgResult::Ok) {
            WaitMs(500);
            continue;
        }
        request.destinationFolder = homeFolder();
        m_outcome.destinationArchive = destinationArchive(request);
        emit destinationChanged(request.destinationFolder);
    }
}

// Deletes the staging archive unless it is kept for the next update or
// because the transfer failed (it is then the only copy).
void BackupRun::cleanStaging(const BackupRequest& request) {
    if (request.update || m_outcome.stagingKept) {
        m_outcome.stagingKept = true;
        return;
    }
    QFile::remove(m_outcome.stagingArchive);
}

void BackupRun::InfosErreurs(const BackupRequest& request) {
    ReportInput input;
    input.errors = m_outcome.errors;
    input.filesInUse = m_outcome.filesInUse;
    input.lastMessageCode = m_lastMessageCode;
    input.removable = m_outcome.removable;
    input.autoClose = request.autoClose;
    input.destinationArchive = m_outcome.destinationArchive;
    input.floppyDestination = m_spanned;
    input.summaryText = m_outcome.summaryText;
    input.destinationSizeText = m_outcome.sizeText;
    input.stagingSizeText = FileSizeText(m_outcome.stagingArchive);
    const ReportTexts report = brx::InfosErreurs(input);
    m_outcome.report = report;
    m_outcome.success = report.success;
    setCaption(report.caption);
    if (!report.destinationText.isEmpty()) {
        m_outcome.destinationText = report.destinationText;
        emit destinationTextChanged(report.destinationText);
    }
    if (!report.finalInfo.isEmpty()) setFinalInfo(report.finalInfo);
    if (!report.picture.isEmpty()) emit pictureChanged(picturePath(report.picture), true);
    for (const QString& line : report.logLines) addLog(line);
}

void BackupRun::EjectClose(const BackupRequest& request) {
    if (!request.eject) return;
    const QString root = m_volumes.volumeRootOf(request.destinationFolder);
    if (m_volumes.driveType(root) != DriveType::Removable) return;
    TDiskEject eject(m_volumes, m_services.ejector ? *m_services.ejector : systemDiskEjector());
    eject.setDrive(root);
    try {
        eject.Eject(); // its result is not looked at: the user sees the medium or not
    } catch (...) {}
}

void BackupRun::addLog(const QString& line) {
    m_log.add(line);
    emit logLineAdded(line);
}

void BackupRun::addError(const QString& entry) {
    m_outcome.errors.append(entry);
    emit errorAdded(entry);
}

void BackupRun::setCaption(const QString& caption) {
    m_outcome.caption = caption;
    emit captionChanged(caption);
}

void BackupRun::setFinalInfo(const QString& text) {
    m_outcome.finalInfo = text;
    emit finalInfoChanged(text);
}

QString BackupRun::picturePath(const QString& name) const {
    const QString path = WithBackslash(m_request ? m_request->programFolder : QString()) + name;
    return QFile::exists(path) ? path : QString(); // a missing picture shows nothing
}

QString BackupRun::homeFolder() const {
    return m_services.homeFolder.isEmpty() ? WithBackslash(QDir::homePath())
                                           : WithBackslash(m_services.homeFolder);
}

} // namespace brx
