// The backup window and its run: the request made from the window's
// controls, and the run's reports turned into labels, lists and pictures.

#include "backup/TSaveForm1.h"

#include "backup/run/BackupLog.h"
#include "backup/run/BackupRun.h"
#include "controls/Hints.h"
#include "controls/Pictures.h"
#include "controls/TCheckBox98.h"
#include "controls/TDRLabel.h"
#include "controls/TFileLabel.h"
#include "controls/THemisphereButton.h"
#include "controls/THintHandler.h"
#include "engine/ZipEngine.h"
#include "gui/password/AskPassword.h"
#include "ui_SaveForm1.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>

#include <utility>

namespace brx {

void TSaveForm1::setupRun() {
    m_log = std::make_unique<BackupLog>(m_programFolder);
    BackupServices services;
    services.volumes = m_volumes;
    services.filesInUse = m_services.filesInUse;
    services.processes = m_processes;
    services.ejector = m_ejector;
    m_run = std::make_unique<BackupRun>(*m_engine, *m_log, services);
    // The password step works on the engine; the run takes its decision and
    // sets the add options itself.
    m_run->setPasswordProvider([this] {
        const AddOpts before = m_engine->AddOptions();
        PasswordChoice choice;
        choice.logLine = AskPassword(*m_engine, *m_iniFile, *m_keyboard);
        choice.encrypt = m_engine->AddOptions().testFlag(AddEncrypt);
        choice.password = m_engine->Password();
        m_engine->setAddOptions(before);
        return choice;
    });
    connectRunToControls();
    connectRunToWindow();
}

void TSaveForm1::connectRunToControls() {
    BackupRun* run = m_run.get();
    connect(run, &BackupRun::logLineAdded, m_ui->MemoLog, &QPlainTextEdit::appendPlainText);
    connect(run, &BackupRun::errorAdded, m_ui->ListBox1,
            [this](const QString& entry) { m_ui->ListBox1->addItem(entry); });
    connect(run, &BackupRun::fileInUseAdded, m_ui->ListBox2,
            [this](const QString& path) { m_ui->ListBox2->addItem(path); });
    connect(run, &BackupRun::fileProcessed, m_ui->ListBox3,
            [this](const QString& item) { m_ui->ListBox3->addItem(item); });
    connect(run, &BackupRun::processedFilesSorted, m_ui->ListBox3, [this](const QStringList& all) {
        m_ui->ListBox3->clear();
        m_ui->ListBox3->addItems(all);
    });
    connect(run, &BackupRun::filesCounterChanged, m_ui->LbFileNbProcess, &QLabel::setText);
    connect(run, &BackupRun::currentFileChanged, m_ui->LbFileBgZipd, &TFileLabel::SetFileName);
    connect(run, &BackupRun::progressChanged, m_ui->ProgressBar1, [this](int position, bool shown) {
        m_ui->ProgressBar1->setValue(position);
        m_ui->ProgressBar1->setVisible(shown);
    });
    connect(run, &BackupRun::finalInfoChanged, m_ui->Lb3dFinalInfos, &TDRLabel::SetCaption);
    connect(run, &BackupRun::destinationTextChanged, m_ui->LbFileDest, &TFileLabel::SetFileName);
    connect(run, &BackupRun::storePathsForced, m_ui->CbPath,
            [this] { m_ui->CbPath->SetChecked(true); });
    connect(run, &BackupRun::pictureChanged, m_ui->Image1,
            [this](const QString& path, bool animated) {
                if (path.isEmpty())
                    m_ui->Image1->clear();
                else
                    ShowPicture(m_ui->Image1, path, animated);
            });
}

void TSaveForm1::connectRunToWindow() {
    BackupRun* run = m_run.get();
    connect(run, &BackupRun::runStarted, this, &TSaveForm1::runStarted);
    connect(run, &BackupRun::hintChanged, this, [this](const QString& hint) {
        SetHint(this, hint);
        applyHints(true);
    });
    connect(run, &BackupRun::captionChanged, this, &QWidget::setWindowTitle);
    connect(run, &BackupRun::destinationChanged, this, &TSaveForm1::setDestinationFolder);
    connect(run, &BackupRun::clientHeightRequested, this, &QWidget::setFixedHeight);
    connect(run, &BackupRun::runFinished, this, [this](const BackupOutcome& outcome) {
        if (outcome.report.windowWidth > 0) setFixedWidth(outcome.report.windowWidth);
        m_closeAfterRun = outcome.report.closeWindow;
    });
}

void TSaveForm1::runStarted() {
    m_ui->ListBox1->clear();
    m_ui->ListBox2->clear();
    m_ui->ListBox3->clear();
}

BackupRequest TSaveForm1::backupRequest() const {
    BackupRequest request;
    request.programFolder = m_programFolder;
    request.sourceFolder = m_sourceFolder;
    request.filter = m_ui->ComboWildCar->currentText();
    request.destinationFolder = m_destinationFolder;
    request.datePrefix = m_ui->LbDateZip->text();
    request.archiveName = m_ui->EdArchiveName->text();
    request.subDirs = m_ui->CbSubDir->Checked();
    request.storePaths = m_ui->CbPath->Checked();
    request.password = m_ui->CBPassWord->Checked();
    request.update = m_ui->CbUpdateZip->Checked();
    request.selfExtracting = m_ui->CBExe->Checked();
    request.eject = m_ui->CbEject->Checked();
    request.autoClose = m_ui->AuToClose->Checked();
    request.compressionLevel = m_ui->UpTxComp->value();
    return request;
}

void TSaveForm1::CliCBtn3dZip() {
    if (m_running || m_run->isRunning()) return;
    // Neither a first use without a destination nor an empty name may start
    // a backup: the archive would land nowhere, or as a hidden ".zip".
    if (m_destinationFolder.isEmpty()) {
        inform(QStringLiteral("Choisissez d'abord le dossier de destination de la sauvegarde "
                              "(liste \"3. Lecteur et chemin Destination\" ou bouton \"...\")."));
        return;
    }
    if (m_ui->EdArchiveName->text().trimmed().isEmpty()) {
        inform(QStringLiteral("Donnez d'abord un nom à l'archive (case \"Nom : \")."));
        return;
    }
    m_running = true;
    m_zipButton->setEnabled(false);
    BackupRequest request = backupRequest();
    m_run->ZipButGo(request);
    m_running = false;
    m_zipButton->setEnabled(true);
    m_zipButton->SetBevelInner(hbLowered);
    // Automatic closing after a clean backup: right after the report.
    if (std::exchange(m_closeAfterRun, false)) CkBtt3DQuitter();
}

} // namespace brx
