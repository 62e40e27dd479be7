// The "Extraire" page: the destination with its history, and extracting
// every entry or the selected rows.

#include "archive_window/GridTexts.h"
#include "archive_window/TMainForm.h"
#include "archive_window/WidgetFilters.h"
#include "controls/THemisphereButton.h"
#include "controls/TSortGrid.h"
#include "engine/ZipEngine.h"
#include "engine/base/UserHost.h"
#include "gui/HistoryCombo.h"
#include "platform/Processes.h"
#include "platform/Volumes.h"
#include "support/AppGlobals.h"
#include "support/Folders.h"
#include "support/PathNames.h"
#include "support/ProgramLauncher.h"
#include "ui_MainForm.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace brx {

namespace {

QString homeRoot() {
    return WithBackslash(QDir::homePath());
}

} // namespace

void TMainForm::setupExtractPage() {
    TComboBox98* box = m_ui->ComboExtractPath;
    box->lineEdit()->installEventFilter(
        new HistoryKeyFilter(this, HistoryKeyFilter::Keys::Paths,
                             [box] { RememberCurrentText(box, HistoryKind::Paths); }));
    connect(box->lineEdit(), &QLineEdit::textEdited, this, &TMainForm::destinationEdited);
    connect(box, &QComboBox::activated, this, &TMainForm::destinationEdited);
    connect(m_ui->Bttn3DDelComboExtractPath, &QAbstractButton::clicked, this,
            &TMainForm::DelComboExtractPathClick);
    connect(m_ui->Bttn3dBrowseFolder, &QAbstractButton::clicked, this,
            &TMainForm::BrowseFolderClick);
    m_ui->LbDestExtract->installEventFilter(
        new DoubleClickFilter(this, [this] { LbDestExtractDblClick(); }));
    // "Extraire TOUS les fichiers" and "Extraire Fichiers sélectionnés"
    // exclude each other: one of them is always ticked.
    connect(m_ui->CBAllFiles, &QCheckBox::toggled, this,
            [this](bool on) { m_ui->CBSelectedFiles->setChecked(!on); });
    connect(m_ui->CBSelectedFiles, &QCheckBox::toggled, this,
            [this](bool on) { m_ui->CBAllFiles->setChecked(!on); });
}

// Typing in, or picking from, either folder box of the window.
void TMainForm::destinationEdited() {
    m_extractDestination = WithBackslash(m_ui->ComboExtractPath->currentText());
}

void TMainForm::DelComboExtractPathClick() {
    m_ui->ComboExtractPath->clear();
    m_ui->ComboExtractPath->setEditText(homeRoot());
}

void TMainForm::LbDestExtractDblClick() {
    ResetToDrives(m_ui->ComboExtractPath, systemVolumes());
}

void TMainForm::BrowseFolderClick() {
    const QString folder = OnChooseFolder ? OnChooseFolder() : chooseFolder();
    m_extractDestination = folder.isEmpty() ? homeRoot() : WithBackslash(folder);
    m_ui->ComboExtractPath->setEditText(m_extractDestination);
    RememberCurrentText(m_ui->ComboExtractPath, HistoryKind::Paths);
}

// A missing destination is created when the user agrees; false stops.
bool TMainForm::prepareDestination() {
    const QString destination = m_extractDestination;
    if (destination.isEmpty() || FolderExists(destination) ||
        isVolumeRoot(destination, systemVolumes()))
        return true;
    const QString question = QStringLiteral("[ ") + destination + QStringLiteral(" ] \r\n") +
                             QStringLiteral("Voulez vous créer ce répertoire ?");
    if (m_host->messageBox(MessageRequest{question, applicationTitle(), MsgButtons::YesNo,
                                          MsgIcon::Warning, MsgResult::None}) != MsgResult::Yes) {
        m_host->messageBox(MessageRequest{
            QStringLiteral("Lecteur/chemin de destination invalide(s) ou inéxistant(s)."),
            QStringLiteral("ATTENTION !"), MsgButtons::Ok, MsgIcon::Warning, MsgResult::None});
        return false;
    }
    ForceFolders(destination);
    if (FolderExists(destination)) return true;
    m_host->messageBox(MessageRequest{QStringLiteral("Ne peut créer le répertoire ") + destination,
                                      applicationTitle(), MsgButtons::Ok, MsgIcon::Error,
                                      MsgResult::None});
    return false;
}

// One stored name per selected row (folder then name), never the totals row.
bool TMainForm::collectSelectedEntries() {
    QStringList names;
    const TSortGrid* grid = this->grid();
    const TGridRect selection = grid->Selection();
    const int totalsRow = grid->RowCount() - 1;
    for (int row = std::max(grid->FixedRows(), selection.Top); row <= selection.Bottom; ++row) {
        if (row != totalsRow) names << grid->Cells(ColFolder, row) + grid->Cells(ColName, row);
    }
    m_engine->setFSpecArgs(names);
    return !names.isEmpty();
}

void TMainForm::Extract() {
    if (engineWorking()) return;
    if (!prepareDestination()) return;
    if (!QFileInfo::exists(m_engine->ZipFileName())) {
        inform(QStringLiteral("Error: file not found: ") + m_engine->ZipFileName());
        return;
    }
    if (m_extractDestination.isEmpty()) return;
    if (m_engine->Count() <= 0) {
        inform(QStringLiteral("Error - no files to extract"));
        return;
    }
    m_engine->setFSpecArgs({});
    if (!m_ui->CBAllFiles->isChecked() && !collectSelectedEntries()) {
        inform(QStringLiteral("Error - no files selected"));
        return;
    }
    m_host->setBusy(true);
    m_engine->setExtrBaseDir(m_extractDestination);
    ExtrOpts options;
    if (m_ui->CBUsePathName->isChecked()) options |= ExtrDirNames;
    if (m_ui->CBOverWrite->isChecked()) options |= ExtrOverWrite;
    m_engine->setExtrOptions(options);
    try {
        m_engine->Extract();
    } catch (...) {
        inform(QStringLiteral("Error in Extract; Fatal DLL Exception"));
    }
    if (m_ui->CbMsgExtract->isChecked())
        inform(QString::number(m_engine->SuccessCnt()) + QStringLiteral(" fichiers extraits."));
    m_host->setBusy(false);
    if (m_ui->CBExploExtr->isChecked()) openDestinationFolder();
    m_buttonExtract->SetBevelInner(hbLowered);
}

void TMainForm::openDestinationFolder() {
    IProcesses& processes = m_processes != nullptr ? *m_processes : systemProcesses();
    RunProgram(FileManagerCommand(m_extractDestination), 3, false, processes);
    showMinimized();
}

} // namespace brx
