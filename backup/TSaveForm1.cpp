#include "backup/TSaveForm1.h"

#include "backup/run/BackupLog.h"
#include "backup/run/BackupRun.h"

#include "controls/Hints.h"
#include "controls/TCheckBox98.h"
#include "controls/TDRLabel.h"
#include "controls/TFileLabel.h"
#include "controls/THemisphereButton.h"
#include "controls/THintHandler.h"
#include "engine/ZipEngine.h"
#include "gui/GuiKeyboard.h"
#include "gui/HistoryCombo.h"
#include "gui/WidgetsUserHost.h"
#include "password/ProgramTexts.h"
#include "platform/DiskEject.h"
#include "platform/LocaleInfo.h"
#include "platform/ProgramInfo.h"
#include "platform/Processes.h"
#include "platform/Volumes.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsKeys.h"
#include "support/AppGlobals.h"
#include "support/ArchiveNaming.h"
#include "support/Folders.h"
#include "support/PathNames.h"
#include "support/TextFormat.h"
#include "ui_SaveForm1.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSpinBox>
#include <QStatusBar>

namespace brx {

namespace {

const QString kRootRefused =
    QStringLiteral("Cet utilitaire n'est pas conçu pour faire un backup entier de disque dur.");
const QString kNoSuchFolder =
    QStringLiteral("Le dossier « %1 » n'existe pas ou n'est pas accessible : il n'y a rien à "
                   "sauvegarder.");
const QString kDefaultFilter = QStringLiteral("*.*");

// The design's font, where this desktop lacks it: the nearest narrow face.
void substituteDesignFont() {
    if (QFont::substitutes(QStringLiteral("MS Sans Serif")).isEmpty())
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Liberation Sans Narrow"),
                                    QStringLiteral("Arimo"),
                                    QStringLiteral("DejaVu Sans Condensed")});
}

// The backup window's engine as its window stores it.
void applyFormSettings(TZipEngine& engine) {
    engine.setSFXOptions({});
    engine.setHowToDelete(htdFinal);
    engine.setPasswordReqCount(0);
    engine.setAddCompLevel(9);
    engine.setSFXPath(QStringLiteral("ZipSFX.bin"));
    engine.setSFXCaption(QStringLiteral("Self-extracting Archive"));
    engine.setAddStoreSuffixes(AddStoreExts(assGIF) | assPNG | assZ | assZIP | assZOO | assARC |
                               assLZH | assARJ | assTAZ | assTGZ | assLHA);
    engine.setUnattended(false);
    engine.setVerbose(false);
    engine.setTrace(false);
    engine.setKeepFreeOnDisk1(0);
}

QString sectionOf(const settings::HistorySection& history) {
    return QString::fromLatin1(history.section);
}

} // namespace

TSaveForm1::TSaveForm1(const QString& argument, QWidget* parent)
    : TSaveForm1(argument, Services{}, parent) {}

TSaveForm1::TSaveForm1(const QString& argument, const Services& services, QWidget* parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::SaveForm1>())
    , m_host(services.host)
    , m_volumes(services.volumes != nullptr ? services.volumes : &systemVolumes())
    , m_processes(services.processes != nullptr ? services.processes : &systemProcesses())
    , m_keyboard(services.keyboard)
    , m_ejector(services.ejector != nullptr ? services.ejector : &systemDiskEjector())
    , m_services(services)
    , m_argument(argument)
    , m_programFolder(WithBackslash(services.programFolder.isEmpty() ? brx::programFolder()
                                                                     : services.programFolder)) {
    if (m_host == nullptr) {
        m_ownHost = std::make_unique<WidgetsUserHost>(this);
        m_host = m_ownHost.get();
    }
    if (m_keyboard == nullptr) {
        m_ownKeyboard = std::make_unique<GuiKeyboard>();
        m_keyboard = m_ownKeyboard.get();
    }
    if (!m_services.today) m_services.today = [] { return QDate::currentDate(); };
    substituteDesignFont();
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowContextHelpButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setupEngine();
    FormCreate();
}

TSaveForm1::~TSaveForm1() {
    qApp->removeEventFilter(this);
    m_engine->UnloadZipLibrary();
}

QString TSaveForm1::settingsFile() const {
    return settingsFileIn(m_programFolder);
}

QString TSaveForm1::sourcePattern() const {
    return m_sourceFolder + kPathSeparator + m_ui->ComboWildCar->currentText();
}

void TSaveForm1::setupEngine() {
    m_engine = std::make_unique<TZipEngine>(m_host, m_volumes);
    m_engine->setOwnerWindow(this);
    m_engine->setDLLDirectory(m_services.dllDirectory);
    applyFormSettings(*m_engine);
}

void TSaveForm1::FormCreate() {
    m_iniFile = std::make_unique<PrivateProfile>(settingsFile());
    m_hints = new THintHandler(this);
    m_hints->OnHint = [this](const QString& longHint) { m_ui->StatusBar1->showMessage(longHint); };
    setHelpFile(m_programFolder + kHelpFileName);
    setFixedSize(400, 300);
    setWindowTitle(QStringLiteral("Sauvegarde des données."));
    SetHint(this, QStringLiteral("|") + backupWindowLongHint());
    applyDesignTexts();
    makeZipButton();
    if (!acceptSource()) return;
    show();
    setupRun();
    ForceFolders(stagingFolder());
    setupMenu();
    LoadGlobalSet();
    m_ui->ComboWildCar->setEditText(kDefaultFilter);
    loadHistories();
    UpdateDestination();
    ComboPathChange();
    m_ui->LbZipExt->setText(m_ui->CBExe->Checked() ? QStringLiteral(".Exe")
                                                   : QStringLiteral(".Zip"));
    showDatePrefix();
    m_ui->EdArchiveName->setText(
        ArchiveBaseName(m_argument, false, false, *m_volumes, SystemLocaleInfo()));
    m_engine->LoadZipLibrary();
    UpdateDestination();
    connectHandlers();
    openLog();
}

// The folder verb's "-#" is dropped; a volume root or a folder that is not
// there ends the program after a message, without showing the window.
bool TSaveForm1::acceptSource() {
    m_sourceFolder = DisplayPathName(m_argument.mid(2));
    const bool exists = FolderExists(m_sourceFolder);
    QString refusal;
    if (exists && isVolumeRoot(m_sourceFolder, *m_volumes))
        refusal = kRootRefused;
    else if (!exists)
        refusal = kNoSuchFolder.arg(m_sourceFolder);
    if (refusal.isEmpty()) return true;
    m_host->messageBox(MessageRequest{refusal, applicationTitle(), MsgButtons::Ok,
                                      MsgIcon::Information, MsgResult::None});
    m_ended = true;
    return false;
}

// Captions and hints of the program's own controls stand in the layout as
// the properties "caption" and "hint".
void TSaveForm1::applyDesignTexts() {
    for (auto* box : findChildren<TCheckBox98*>())
        box->SetCaption(box->property("caption").toString());
    for (auto* label : findChildren<TDRLabel*>())
        label->SetCaption(label->property("caption").toString());
    for (auto* button : findChildren<THemisphereButton*>())
        button->SetCaption(button->property("caption").toString());
    for (auto* widget : findChildren<QWidget*>()) {
        const QVariant hint = widget->property("hint");
        if (hint.isValid()) SetHint(widget, hint.toString());
    }
    m_ui->UpTxComp->findChild<QLineEdit*>()->setObjectName(QStringLiteral("EdTxComp"));
    m_ui->LbFileNbProcess->setText(QStringLiteral("Fichiers traités : "));
    SetHint(m_ui->Bttn3DDelComboPath, QStringLiteral("Efface historique"));
    SetHint(m_ui->Bttn3dBrowseFolder,
            QStringLiteral("Sélection du lecteur/répertoire de stockage"));
    m_ui->Lb3dFinalInfos->SetHiColor(QColor(255, 0, 0));
    m_ui->Lb3dFinalInfos->SetLoColor(QColor(128, 0, 0));
    m_ui->Lb3dFinalInfos->SetBlinkInterval(1000);
    m_ui->Lb3dFinalInfos->SetBlink(blHiLo);
    m_ui->Lb3dFinalInfos->SetTransparent(true);
    for (auto* label :
         {m_ui->Lb3dRep, m_ui->Lb3dDest, m_ui->Lb3About, m_ui->Lb3Details, m_ui->Lb3Quit})
        label->SetTransparent(true);
    m_ui->ProgressBar1->setRange(0, 100);
    m_ui->ProgressBar1->hide();
    m_ui->MemoLog->hide();
}

void TSaveForm1::makeZipButton() {
    m_zipButton = new THemisphereButton(QStringLiteral("Zip"), m_ui->CentralPanel);
    m_zipButton->setObjectName(QStringLiteral("Bttn3dZip"));
    m_zipButton->setGeometry(280, 70, 90, 90);
    m_zipButton->SetFaceColor(QColor(0, 128, 128));
    QFont font = m_zipButton->font();
    font.setBold(true);
    font.setPointSize(16);
    m_zipButton->setFont(font);
    m_zipButton->SetBevelWidth(4);
    SetHint(m_zipButton, QString());
    m_zipButton->show();
}

void TSaveForm1::LoadGlobalSet() {
    const PrivateProfile& ini = *m_iniFile;
    const bool dayFirst = settings::read(ini, settings::kDayBeforeMonth);
    m_dayMonth->setChecked(dayFirst);
    m_monthDay->setChecked(!dayFirst);
    m_showHints->setChecked(settings::read(ini, settings::kShowHints));
    applyHints(m_showHints->isChecked());
    m_ui->UpTxComp->setValue(settings::read(ini, settings::kLevel));
    m_ui->CBExe->SetChecked(settings::read(ini, settings::kMakeSfx));
    m_ui->CbSubDir->SetChecked(settings::read(ini, settings::kSubDirs));
    m_ui->CbPath->SetChecked(settings::read(ini, settings::kStorePaths));
    m_ui->CBPassWord->SetChecked(settings::read(ini, settings::kUsePassword));
    m_ui->CbUpdateZip->SetChecked(settings::read(ini, settings::kUpdateArchive));
    m_ui->CBDatePrefix->SetChecked(settings::read(ini, settings::kDatePrefix));
    m_ui->CbEject->SetChecked(settings::read(ini, settings::kEjectAtEnd));
    m_ui->AuToClose->SetChecked(settings::read(ini, settings::kCloseAfterBackup));
}

void TSaveForm1::loadHistories() {
    LoadHistory(m_ui->ComboPath, m_iniFile->path(), sectionOf(settings::kHistoryStorageDir),
                std::nullopt);
    LoadHistory(m_ui->ComboWildCar, m_iniFile->path(), sectionOf(settings::kHistoryFilter),
                std::nullopt);
}

QString TSaveForm1::currentDatePrefix() const {
    return DatePrefix(m_dayMonth->isChecked(), m_ui->CBDatePrefix->Checked(), m_services.today());
}

void TSaveForm1::showDatePrefix() {
    m_ui->LbDateZip->setText(currentDatePrefix());
}

void TSaveForm1::UpdateDestination() {
    const QString name = m_ui->EdArchiveName->text();
    m_ui->LbFileRep2Sav->SetFileName(sourcePattern());
    m_stagingArchive = stagingFolder() + name + QStringLiteral(".zip");
    m_destinationArchive =
        m_destinationFolder + m_ui->LbDateZip->text() + name + m_ui->LbZipExt->text();
    m_ui->LbFileDest->SetFileName(m_destinationArchive);
}

void TSaveForm1::setDestinationFolder(const QString& folder) {
    m_destinationFolder = WithBackslash(folder);
    UpdateDestination();
}

void TSaveForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The bottom line keeps to the bottom and spans the window.
    const QWidget* panel = m_ui->CentralPanel;
    const int top = panel->height() - 34;
    const int width = panel->width() - 44;
    m_ui->Image1->move(4, top);
    m_ui->LbFileBgZipd->setGeometry(40, top, width, 15);
    m_ui->Lb3dFinalInfos->setGeometry(40, top + 16, width, 16);
    m_ui->ProgressBar1->setGeometry(40, top + 17, width, 12);
}

} // namespace brx
