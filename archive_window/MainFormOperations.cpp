// Adding, deleting and testing from the archive manager.

#include "archive_window/GridTexts.h"
#include "archive_window/TMainForm.h"
#include "controls/THemisphereButton.h"
#include "controls/TSortGrid.h"
#include "engine/ZipEngine.h"
#include "engine/base/UserHost.h"
#include "platform/Clock.h"
#include "support/AppGlobals.h"
#include "support/TextFormat.h"
#include "ui_MainForm.h"

#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>

namespace brx {

namespace {

const QString kAllFiles = QStringLiteral("*.*");

// The pattern that adds a folder's whole content.
QString folderPattern(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder + kAllFiles;
}

} // namespace

void TMainForm::inform(const QString& text) {
    m_host->messageBox(MessageRequest{text, applicationTitle(), MsgButtons::Ok,
                                      MsgIcon::Information, MsgResult::None});
}

bool TMainForm::confirm(const QString& text) {
    return m_host->messageBox(MessageRequest{text, applicationTitle(), MsgButtons::YesNo,
                                             MsgIcon::Question, MsgResult::None}) == MsgResult::Yes;
}

QString TMainForm::chooseFile() {
    const QString start = QDir::currentPath();
    QFileDialog dialog(this);
    dialog.setDirectory(start);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::ReadOnly, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QString title = QStringLiteral("Choisir un fichier ou un dossier") + start;
    dialog.setWindowTitle(title);
    connect(&dialog, &QFileDialog::directoryEntered, &dialog,
            [&dialog, title] { dialog.setWindowTitle(title); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString TMainForm::chooseFolder() {
    return QFileDialog::getExistingDirectory(this, QString());
}

void TMainForm::AddClick() {
    if (engineWorking()) return;
    QString path;
    if (m_ui->CBFileAdd->isChecked()) {
        path = OnChooseFile ? OnChooseFile() : chooseFile();
    } else {
        const QString folder = OnChooseFolder ? OnChooseFolder() : chooseFolder();
        if (!folder.isEmpty()) path = folderPattern(folder);
    }
    if (!path.isEmpty()) Add(path);
    m_buttonAdd->SetBevelInner(hbLowered);
}

void TMainForm::Add(const QString& path) {
    // The window stays live while the engine works (it processes events from
    // the engine's reports): a second operation would run inside the first.
    if (engineWorking()) return;
    if (m_engine->ZipFileName().isEmpty()) {
        inform(QStringLiteral("Error - open a zip file first"));
        return;
    }
    if (m_ui->CBaskAdd->isChecked() &&
        !confirm(QStringLiteral("Souhaitez vous comprimer les fichiers sélectionnés ?[ ") + path +
                 QStringLiteral(" ]")))
        return;
    m_host->setBusy(true);
    m_engine->setAddCompLevel(m_ui->UpTxComp->value());
    AddOpts options = AddHiddenFiles;
    if (m_ui->CbSubDir->isChecked()) options |= AddRecurseDirs;
    if (m_ui->CbPath->isChecked()) options |= AddDirNames;
    if (QFileInfo::exists(m_engine->ZipFileName())) options |= AddUpdate;
    m_engine->setAddOptions(options);
    m_engine->setFSpecArgs({path});
    try {
        m_engine->Add();
    } catch (...) {
        inform(QStringLiteral("Error in Add; Fatal DLL Exception in mainunit"));
    }
    m_host->setBusy(false);
    FillGrid();
}

void TMainForm::DeleteClick() {
    if (engineWorking()) return;
    if (m_engine->Count() <= 0) {
        inform(QStringLiteral("Error - no files to delete"));
        return;
    }
    if (m_ui->CbAskDel->isChecked() &&
        !confirm(QStringLiteral("Effacer le ou les fichier(s) sélectionnés ?")))
        return;
    // The grid's folder and name columns together give the stored name back.
    QStringList names;
    TSortGrid* grid = this->grid();
    const TGridRect selection = grid->Selection();
    const int totalsRow = grid->RowCount() - 1;
    for (int row = std::max(1, selection.Top); row <= selection.Bottom; ++row) {
        if (row == totalsRow) continue;
        names << grid->Cells(ColFolder, row) + grid->Cells(ColName, row);
    }
    m_engine->setFSpecArgs(names);
    if (names.isEmpty()) {
        inform(QStringLiteral("Error - no files selected"));
        return;
    }
    const uint32_t start = tickCount();
    try {
        m_engine->Delete();
    } catch (...) {
        inform(QStringLiteral("Fatal error trying to delete"));
    }
    const uint32_t stop = tickCount();
    inform(QString::number(m_engine->SuccessCnt()) +
           QStringLiteral(" fichiers effacés. Durée processus : ") + FormatElapsed(start, stop));
    FillGrid();
    m_buttonDelete->SetBevelInner(hbLowered);
}

void TMainForm::TestClick() {
    if (engineWorking()) return;
    m_host->setBusy(true);
    if (m_engine->Count() <= 0) {
        inform(QStringLiteral("Error - nothing to Test"));
        m_host->setBusy(false);
        return;
    }
    m_engine->setFSpecArgs({kAllFiles});
    m_engine->setExtrOptions(m_engine->ExtrOptions() | ExtrTest);
    const uint32_t start = tickCount();
    m_engine->Extract();
    const uint32_t stop = tickCount();
    if (m_engine->SuccessCnt() == m_engine->Count())
        inform(QStringLiteral("TOUS les fichiers sont corrects. Durée test : ") +
               FormatElapsed(start, stop));
    else
        inform(QStringLiteral("ERREURS !! Nombre de fichiers incorrects ou non testés : ") +
               QString::number(m_engine->Count() - m_engine->SuccessCnt()));
    m_host->setBusy(false);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !engineWorking()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    if (engineWorking()) {
        event->ignore();
        return;
    }
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        // The path is taken whole, however long it is.
        QString path = url.toLocalFile();
        if (QFileInfo(path).isDir()) path = folderPattern(path);
        Add(path);
    }
    FillGrid();
}

} // namespace brx
