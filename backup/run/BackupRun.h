#pragma once
// One press of the backup window's Zip button: compression of the folder
// into the staging archive beside the program, the optional conversion to a
// self-extractor, the transfer to the destination, cleaning and the report.
// Runs on the GUI thread like every engine operation; the engine lets events
// be processed at every library callback and block copy, so the window stays
// alive. Questions go through the engine's user host. Qt Core only: the
// window turns the signals into its labels, lists and pictures.

#include "backup/run/BackupOutcome.h"
#include "backup/run/BackupRequest.h"
#include "engine/base/ZipEngineTypes.h"

#include <QObject>

#include <functional>
#include <memory>

namespace brx {

class BackupLog;
class IDiskEjector;
class IFilesInUse;
class IFilesInUseSnapshot;
class IProcesses;
class IVolumes;
class TZipEngine;

// The password step's answer: whether to encrypt, the password, and the log
// line to write (empty: none). It is asked after AddOptions is set, so a
// provider may also run the password step on the engine itself and report
// the engine's AddEncrypt and Password back here.
struct PasswordChoice {
    bool encrypt = false;
    QString password;
    QString logLine;
};
using PasswordProvider = std::function<PasswordChoice()>;

// The services a run uses; null members mean the system's own.
struct BackupServices {
    IVolumes* volumes = nullptr;
    IFilesInUse* filesInUse = nullptr;
    IProcesses* processes = nullptr;
    IDiskEjector* ejector = nullptr;
    QString homeFolder; // fallback destination; empty: the user's home
};

inline const QString kSpannerName = QStringLiteral("Brx_Span.exe");
inline const QString kSpanErrorMarker = QStringLiteral("SpanFileError.txt");
inline constexpr qint64 kSpanThreshold = 1'500'000;

class BackupRun : public QObject {
    Q_OBJECT
public:
    // The engine and the log belong to the window and outlive the run; the
    // engine gets the backup's fixed settings and its two event handlers.
    BackupRun(TZipEngine& engine, BackupLog& log, BackupServices services = {},
              QObject* parent = nullptr);
    ~BackupRun() override;

    void setPasswordProvider(PasswordProvider provider) { m_askPassword = std::move(provider); }

    // ZipButGo. request is the window's state: the run may check its
    // storePaths and change its destination (the fallback of a cancelled
    // disk prompt). False, doing nothing, while a run is in progress or when
    // no destination is set.
    bool ZipButGo(BackupRequest& request);
    bool isRunning() const { return m_running; }
    // Asks the engine to stop at its next progress point (Esc during a run).
    void cancel();

    const BackupOutcome& outcome() const { return m_outcome; }
    // The code of the engine's last message, kept from run to run.
    int lastMessageCode() const { return m_lastMessageCode; }

    // At quit: ejects the destination's medium when asked and removable.
    void EjectClose(const BackupRequest& request);

    // The engine's OnMessage and OnProgress (public for the window's own messages).
    void ZipEngine1Message(int errCode, const QString& message);
    void ZipEngine1Progress(ProgressType type, const QString& name, qint64 size);

signals:
    void logLineAdded(const QString& line);
    void errorAdded(const QString& entry);
    void fileInUseAdded(const QString& path);
    void filesCounterChanged(const QString& text);     // LbFileNbProcess
    void fileProcessed(const QString& item);           // one more ListBox3 item
    void processedFilesSorted(const QStringList& all); // ListBox3 at the end of the batch
    void currentFileChanged(const QString& path);      // LbFileBgZipd
    // ProgressBar1: position 0 to 100 within the current file, and whether shown.
    void progressChanged(int position, bool visible);
    void hintChanged(const QString& hint);
    void captionChanged(const QString& caption);
    void finalInfoChanged(const QString& text);       // Lb3dFinalInfos
    void destinationTextChanged(const QString& text); // LbFileDest
    void destinationChanged(const QString& folder);   // the fallback after a cancelled prompt
    void storePathsForced();
    void clientHeightRequested(int height);
    // A picture of the program's folder, animated or still (empty: none).
    void pictureChanged(const QString& path, bool animated);
    void runStarted();
    void runFinished(const BackupOutcome& outcome);

private:
    void configureEngine();
    void resetRun(const BackupRequest& request);
    void prepareDestination(BackupRequest& request);
    void checkDestination(BackupRequest& request);
    void Zippage(BackupRequest& request);
    void setAddProperties(const BackupRequest& request);
    void RatioFilesStatusBar();
    void convertToExe(const BackupRequest& request);
    void CopieSupport(const BackupRequest& request);
    void copyToDestination(const BackupRequest& request);
    int copyReplacing(const QString& source, const QString& destination);
    void SpanFile(const BackupRequest& request);
    void keepStagingAfterFailure(const QString& error);
    void cleanStaging(const BackupRequest& request);
    void InfosErreurs(const BackupRequest& request);

    void addLog(const QString& line);
    void addError(const QString& entry);
    void setCaption(const QString& caption);
    void setFinalInfo(const QString& text);
    QString fullNameOf(const QString& storedName) const;
    void setBar(int position, bool visible);
    QString picturePath(const QString& name) const;
    QString homeFolder() const;

    TZipEngine& m_engine;
    BackupLog& m_log;
    BackupServices m_services;
    IVolumes& m_volumes;
    PasswordProvider m_askPassword;

    bool m_running = false;
    int m_lastMessageCode = 0;
    BackupOutcome m_outcome;
    const BackupRequest* m_request = nullptr; // during a run
    std::unique_ptr<IFilesInUseSnapshot> m_inUse;
    QString m_dateText;
    uint32_t m_startTick = 0;
    uint32_t m_endTick = 0;
    qint64 m_currentFileSize = 0;
    qint64 m_currentFileDone = 0;
    int m_barPosition = 0;
    bool m_spanned = false;
};

// Percent saved by compression, rounded to the nearest integer with halves
// to the even neighbour; 0 when either total is 0.
int reductionPercent(qint64 before, qint64 after);

} // namespace brx
