#pragma once
// The one-click backup window: started on a folder, it shows the options of
// the last backup, proposes an archive name and a destination, and runs one
// backup per press of its round "Zip" button. Its options and histories are
// stored only when it is left through its own quit command.

#include <QDate>
#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QSpinBox;

namespace Ui {
class SaveForm1;
}

namespace brx {

class BackupLog;
class BackupRun;
struct BackupRequest;
class IDiskEjector;
class IFilesInUse;
class IKeyboard;
class IProcesses;
class IUserHost;
class IVolumes;
class PrivateProfile;
class TCheckBox98;
class TComboBox98;
class TDRLabel;
class TFileLabel;
class THemisphereButton;
class THintHandler;
class TZipEngine;

class TSaveForm1 : public QMainWindow {
    Q_OBJECT
public:
    // What the window is given from outside; every member left empty takes
    // the desktop's own service.
    struct Services {
        IUserHost* host = nullptr; // not owned, nor the others
        IVolumes* volumes = nullptr;
        IProcesses* processes = nullptr;
        IKeyboard* keyboard = nullptr;
        IDiskEjector* ejector = nullptr;
        IFilesInUse* filesInUse = nullptr;
        QString programFolder; // settings, log, staging folder; the executable's folder
        QString dllDirectory;
        std::function<QDate()> today;
        // The folder browser; an empty answer means cancelled.
        std::function<QString()> chooseFolder;
        std::function<void()> showAbout;
    };

    // argument: the program's first argument ("-#" and the folder).
    explicit TSaveForm1(const QString& argument, QWidget* parent = nullptr);
    TSaveForm1(const QString& argument, const Services& services, QWidget* parent = nullptr);
    ~TSaveForm1() override;

    // True when creation refused the folder (a volume root, or no existing
    // folder): the user was told and the program is to end unseen.
    bool ended() const { return m_ended; }

    // ---- values of the window (folders end with "/") ----
    const QString& sourceFolder() const { return m_sourceFolder; } // no trailing "/"
    QString sourcePattern() const;
    QString stagingFolder() const { return m_programFolder + QStringLiteral("Sas_Zip/"); }
    QString stagingArchive() const { return m_stagingArchive; }
    QString destinationFolder() const { return m_destinationFolder; }
    QString destinationArchive() const { return m_destinationArchive; }
    QString settingsFile() const;
    QString logFile() const { return m_programFolder + QStringLiteral("BRXLogrun.txt"); }
    const QString& programFolder() const { return m_programFolder; }

    TZipEngine& engine() const { return *m_engine; }
    IUserHost& host() const { return *m_host; }
    IVolumes& volumes() const { return *m_volumes; }
    IKeyboard& keyboard() const { return *m_keyboard; }
    // The settings-file object kept from creation to quit (null afterwards).
    const PrivateProfile* iniFile() const { return m_iniFile.get(); }
    THemisphereButton* zipButton() const { return m_zipButton; }
    bool running() const { return m_running; }
    BackupRun& backupRun() const { return *m_run; }
    const BackupLog& backupLog() const { return *m_log; }

    // Forms the derived paths again and shows them.
    void UpdateDestination();
    // The run's fallback when the destination cannot be reached.
    void setDestinationFolder(const QString& folder);
    // One more line of the backup log.
    void appendLog(const QString& line);

    // The Zip button: one backup, never two at once.
    void CliCBtn3dZip();
    // The quit procedure (Esc, "Quitter", automatic closing).
    void CkBtt3DQuitter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    bool acceptSource();
    void setupEngine();
    void applyDesignTexts();
    void makeZipButton();
    void setupMenu();
    void connectHandlers();
    void LoadGlobalSet();
    void loadHistories();
    QString currentDatePrefix() const;
    void showDatePrefix();

    // the run
    void setupRun();
    void connectRunToControls();
    void connectRunToWindow();
    BackupRequest backupRequest() const;
    void runStarted();

    // option handlers
    void CBExeClick();
    void CBDatePrefixClick();
    void FormatDateClick();
    void swapDateOrder(bool dayFirst);
    void AffichageHintClick();
    void applyHints(bool on);
    void ComboPathChange();
    void Bttn3DDelComboPathClick();
    void Bttn3dBrowseFolderClick();
    void ComboWildCarExit();
    void LbFiltreDblClick();
    void listLineClicked(QListWidget* list);
    void Btt3DdetailsClick();
    void StorePasswordClick();
    void Bttn3DAboutClick();
    void Image1Click();
    void hoverCommands(QObject* watched);
    bool filterNameKey(QObject* watched, QKeyEvent* key);
    bool FormKeyDown(QKeyEvent* key);
    void openWith(const QString& path);

    // quit
    bool offerCancel();
    bool writeQuitSettings();
    void EjectClose();
    void openLog();
    void closeLog();
    void inform(const QString& text);
    QString chooseFolder();

    std::unique_ptr<Ui::SaveForm1> m_ui;
    std::unique_ptr<IUserHost> m_ownHost;
    IUserHost* m_host = nullptr;
    IVolumes* m_volumes = nullptr;
    IProcesses* m_processes = nullptr;
    std::unique_ptr<IKeyboard> m_ownKeyboard;
    IKeyboard* m_keyboard = nullptr;
    IDiskEjector* m_ejector = nullptr;
    Services m_services;
    std::unique_ptr<TZipEngine> m_engine;
    std::unique_ptr<BackupLog> m_log;
    std::unique_ptr<BackupRun> m_run; // before the engine in destruction
    std::unique_ptr<PrivateProfile> m_iniFile;
    THintHandler* m_hints = nullptr;
    THemisphereButton* m_zipButton = nullptr;

    QMenu* m_popup = nullptr;
    QMenu* m_formatDate = nullptr;
    QAction* m_storePassword = nullptr;
    QAction* m_dayMonth = nullptr;
    QAction* m_monthDay = nullptr;
    QAction* m_showHints = nullptr;

    QString m_argument;
    QString m_programFolder;
    QString m_sourceFolder;
    QString m_stagingArchive;
    QString m_destinationFolder;
    QString m_destinationArchive;
    bool m_ended = false;
    bool m_running = false;
    bool m_quitting = false;
    bool m_closeAfterRun = false;
};

} // namespace brx
