// The " ZIP <---> EXE" and "Entêtes" pages: the self-extractor's options,
// ">> EXE" and ">> ZIP", and the run-after command picked in the grid.

#include "archive_window/ConversionFiles.h"
#include "archive_window/GridTexts.h"
#include "archive_window/TMainForm.h"
#include "archive_window/WidgetFilters.h"
#include "controls/TEnhGroupBox.h"
#include "controls/TSortGrid.h"
#include "engine/ZipEngine.h"
#include "engine/base/UserHost.h"
#include "gui/HistoryCombo.h"
#include "platform/Processes.h"
#include "support/AppGlobals.h"
#include "support/FileSpelling.h"
#include "support/PathNames.h"
#include "support/ProgramLauncher.h"
#include "ui_MainForm.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace brx {

namespace {

const QString kTempFolderItem = QStringLiteral("Dossier TEMP utilisateur");
// What the stub reads as the user's temporary folder.
const QString kStubTempFolder = QStringLiteral("><");
const QString kConversionFailed =
    QStringLiteral("La transformation a échoué : aucun fichier n'a été remplacé.");

// path with its extension replaced, spelled as the file on disk when a file
// of that name exists in another letter case.
QString twinOf(const QString& path, const QString& extension) {
    const QString twin = changeFileExt(path, extension);
    const QString existing = existingFileSpelling(twin);
    return existing.isEmpty() ? twin : existing;
}

bool isExeName(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("EXE"), Qt::CaseInsensitive) == 0;
}

QString overwriteQuestion(const QString& target) {
    return QStringLiteral("[ ") + target + QStringLiteral(" ]") +
           QStringLiteral(" existe déjà. Souhaitez vous l'écraser ?");
}

// "-" of a folder box: an empty list showing the home folder (the default
// drive of this desktop).
void resetFolderBox(QComboBox* box) {
    box->clear();
    box->setEditText(WithBackslash(QDir::homePath()));
}

} // namespace

void TMainForm::setupSfxPages() {
    TComboBox98* folderBox = m_ui->ComboDefDirExtr;
    folderBox->lineEdit()->installEventFilter(
        new HistoryKeyFilter(this, HistoryKeyFilter::Keys::Paths,
                             [folderBox] { RememberCurrentText(folderBox, HistoryKind::Paths); }));
    // Typing in the default folder also refreshes the extraction destination.
    connect(folderBox->lineEdit(), &QLineEdit::textEdited, this, &TMainForm::destinationEdited);
    connect(folderBox, &QComboBox::activated, this, &TMainForm::destinationEdited);
    connect(m_ui->Bttn3dDelDefDirExtract, &QAbstractButton::clicked, this,
            &TMainForm::DelDefDirExtractClick);
    connect(m_ui->Bttn3dBrowseDefExtract, &QAbstractButton::clicked, this,
            &TMainForm::BrowseDefExtractClick);
    m_ui->ComboTitre->lineEdit()->installEventFilter(
        new HistoryKeyFilter(this, HistoryKeyFilter::Keys::Any, [this] {
            RememberCurrentText(m_ui->ComboTitre, HistoryKind::Texts);
        }));

    m_ui->EDCmdLn->setCursorPosition(0); // the prompt's beginning shows
    m_ui->GbMsgSfx->SetCaption(QStringLiteral("Afficher un message avant extraction "));
    m_ui->GbMsgSfx->SetChecked(false);
    QCheckBox* const buttons[] = {m_ui->CbOk, m_ui->CbOkEsc, m_ui->CbYesNo};
    for (QCheckBox* box : buttons) {
        connect(box, &QCheckBox::toggled, this, [box, buttons](bool on) {
            if (!on) return;
            for (QCheckBox* other : buttons)
                if (other != box) other->setChecked(false);
        });
    }
    connect(grid(), &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        StringGrid1DblClick(index.row() + grid()->FixedRows());
    });
    connect(m_buttonToExe, &QAbstractButton::clicked, this, &TMainForm::ToExeClick);
    connect(m_buttonToZip, &QAbstractButton::clicked, this, &TMainForm::ToZipClick);
    setupIconBox();
}

void TMainForm::DelDefDirExtractClick() {
    resetFolderBox(m_ui->ComboDefDirExtr);
}

void TMainForm::BrowseDefExtractClick() {
    const QString folder = OnChooseFolder ? OnChooseFolder() : chooseFolder();
    m_ui->ComboDefDirExtr->setEditText(folder.isEmpty() ? WithBackslash(QDir::homePath())
                                                        : WithBackslash(folder));
    RememberCurrentText(m_ui->ComboDefDirExtr, HistoryKind::Paths);
}

// The stub is a Windows program: the command it runs uses "\".
void TMainForm::StringGrid1DblClick(int row) {
    const TSortGrid* grid = this->grid();
    if (row < grid->FixedRows() || row >= grid->RowCount() - 1) return; // titles, totals
    QString stored = (grid->Cells(ColFolder, row) + grid->Cells(ColName, row)).toUpper();
    stored.replace(QLatin1Char('/'), QLatin1Char('\\'));
    m_ui->EDCmdLn->setText(stored);
    m_runAfter = kStubTempFolder + stored;
}

QString TMainForm::sfxMessageText() const {
    if (!m_ui->GbMsgSfx->Checked()) return {};
    QString lead;
    if (m_ui->CbOkEsc->isChecked()) lead = QChar(1);
    if (m_ui->CbYesNo->isChecked()) lead = QChar(2);
    return lead + m_ui->EdMsgSfx->text();
}

void TMainForm::applySfxProperties() {
    TZipEngine& engine = *m_engine;
    SFXOpts options;
    engine.setSFXCaption(m_ui->ComboTitre->currentText());
    if (!m_ui->CbAskFiles->isChecked()) options |= SFXAskFiles;
    if (m_ui->CbAutoRun->isChecked()) options |= SFXAutoRun;
    engine.setSFXIcon(m_iconBytes);
    if (!m_ui->CbSuccesMsg->isChecked()) options |= SFXNoSuccessMsg;
    engine.setSFXMessage(sfxMessageText());
    const QString folder = m_ui->ComboDefDirExtr->currentText();
    engine.setSFXDefaultDir(folder.contains(kTempFolderItem) ? kStubTempFolder : folder);
    const bool runAfter = m_ui->CbRunAFile->isChecked();
    engine.setSFXCommandLine(runAfter ? m_runAfter : QString());
    if (runAfter) options |= SFXAskCmdLine;
    const bool overwrite = m_ui->CBForceOverWrite->isChecked();
    engine.setSFXOverWriteMode(overwrite ? OvrAlways : OvrConfirm);
    if (overwrite) options |= SFXHideOverWriteBox;
    engine.setSFXOptions(options);
}

// Runs one conversion of the open file into target without ever leaving a
// half-written target: the result is made under a temporary name beside it
// and takes the target's name only once the conversion succeeded. The source
// is removed only then. On failure both files are as they were.
bool TMainForm::convertKeepingTarget(const QString& target, bool toExe) {
    const QString source = m_engine->ZipFileName();
    const std::optional<ConversionFiles> files = ConversionFiles::prepare(source, toExe);
    if (!files) return false;
    m_engine->setZipFileName(files->source);
    const int result = toExe ? m_engine->ConvertToExe() : m_engine->ConvertToZip();
    const bool placed = result == 0 && files->placeResult(target);
    files->removeLeftovers();
    if (!placed) {
        m_engine->setZipFileName(source);
        return false;
    }
    m_engine->EraseFile(source, m_engine->HowToDelete());
    m_engine->setZipFileName(target);
    return true;
}

bool TMainForm::PrepareSelfExtractor() {
    if (isExeName(m_engine->ZipFileName())) {
        const QString zip = twinOf(m_engine->ZipFileName(), QStringLiteral(".ZIP"));
        if (!convertKeepingTarget(zip, false)) return false;
        showArchivePath();
    }
    applySfxProperties();
    return convertKeepingTarget(changeFileExt(m_engine->ZipFileName(), QStringLiteral(".exe")),
                                true);
}

void TMainForm::ToExeClick() {
    if (engineWorking()) return;
    const QString target = twinOf(m_engine->ZipFileName(), QStringLiteral(".exe"));
    if (QFileInfo::exists(target) && !confirm(overwriteQuestion(target))) return;
    if (!PrepareSelfExtractor()) {
        conversionFailed();
        return;
    }
    m_engine->setZipFileName(twinOf(m_start.startPath, QStringLiteral(".EXE")));
    showArchivePath();
    FillGrid();
    if (confirm(QStringLiteral("Votre archive est maintenant autoextractible.\r"
                               "Souhaitez vous faire un test maintenant?")))
        testNewProgram();
}

// The new program runs through the launcher, which falls back to the program
// that opens Windows executables here; without one the test cannot run.
void TMainForm::testNewProgram() {
    IProcesses& processes = m_processes != nullptr ? *m_processes : systemProcesses();
    const QString program = m_engine->ZipFileName();
    if (!QFileInfo(program).isExecutable() && processes.associatedCommand(program).isEmpty()) {
        inform(QStringLiteral("Aucun programme capable de lancer les exécutables Windows (.exe) "
                              "n'est installé : le test de ") +
               program + QStringLiteral(" est impossible."));
        return;
    }
    showMinimized();
    RunProgram(quoteArgument(program), 1, true, processes);
}

// The self-extracting twin of the start path is turned back into a ZIP: the
// start path itself when it is the EXE, the EXE made by ">> EXE" otherwise.
void TMainForm::ToZipClick() {
    if (engineWorking()) return;
    const QString exe = twinOf(m_start.startPath, QStringLiteral(".EXE"));
    // Without that program the engine's own check explains what is missing.
    if (!QFileInfo::exists(exe)) {
        m_engine->ConvertToZip();
        conversionFailed();
        return;
    }
    m_engine->setZipFileName(exe);
    const QString target = twinOf(exe, QStringLiteral(".zip"));
    if (QFileInfo::exists(target) && !confirm(overwriteQuestion(target))) return;
    if (!convertKeepingTarget(target, false)) {
        conversionFailed();
        return;
    }
    m_engine->setZipFileName(twinOf(m_start.startPath, QStringLiteral(".ZIP")));
    showArchivePath();
    FillGrid();
    inform(QStringLiteral("Restauration format Zip effectuée."));
}

void TMainForm::conversionFailed() {
    showArchivePath();
    FillGrid();
    m_host->messageBox(MessageRequest{kConversionFailed, applicationTitle(), MsgButtons::Ok,
                                      MsgIcon::Error, MsgResult::None});
}

} // namespace brx
