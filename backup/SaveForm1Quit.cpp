// The backup window's keys, its Zip button guard, the quit procedure and the
// opening and closing of the backup log.

#include "backup/TSaveForm1.h"

#include "backup/run/BackupLog.h"
#include "backup/run/BackupRun.h"

#include "controls/TCheckBox98.h"
#include "controls/THemisphereButton.h"
#include "engine/ZipEngine.h"
#include "engine/base/UserHost.h"
#include "gui/HistoryCombo.h"
#include "settings/SettingsKeys.h"
#include "support/AppGlobals.h"
#include "support/ProgramLauncher.h"
#include "ui_SaveForm1.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QSpinBox>

namespace brx {

namespace {

const QString kCancelQuestion = QStringLiteral("Souhaitez vous annuler la compression en cours ?");
} // namespace

bool TSaveForm1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        hoverCommands(watched);
        return false;
    case QEvent::MouseButtonDblClick:
        if (watched == m_ui->LbFiltre) LbFiltreDblClick();
        return false;
    case QEvent::MouseButtonRelease:
        if (watched == m_ui->Image1) Image1Click();
        return false;
    case QEvent::FocusOut:
        if (watched == m_ui->ComboWildCar->lineEdit()) ComboWildCarExit();
        return false;
    case QEvent::KeyPress: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || widget->window() != this) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        return FormKeyDown(key) || filterNameKey(watched, key);
    }
    default:
        return false;
    }
}

bool TSaveForm1::FormKeyDown(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Escape:
        CkBtt3DQuitter();
        return true;
    case Qt::Key_F5:
        setFixedWidth(width() > 400 ? 400 : 590);
        return true;
    case Qt::Key_F9:
        openWith(stagingFolder());
        return true;
    case Qt::Key_F10:
        if (!m_destinationFolder.isEmpty()) openWith(QFileInfo(m_destinationArchive).path());
        return true;
    case Qt::Key_F11:
        openWith(settingsFile());
        return true;
    default:
        return false;
    }
}

// A folder or a document is opened by the program the desktop associates
// with it; the launcher falls back to that association.
void TSaveForm1::openWith(const QString& path) {
    RunProgram(quoteArgument(path), 1, false, *m_processes);
}

bool TSaveForm1::offerCancel() {
    if (!m_engine->ZipBusy() && !m_running) return false;
    // Leaving under a running library would leave the archive half made, and
    // leaving during the rest of a run would leave its log and report
    // unwritten: the user may cancel instead, and the window stays.
    const MsgResult answer = m_host->messageBox(MessageRequest{
        kCancelQuestion, applicationTitle(), MsgButtons::YesNo, MsgIcon::Warning, MsgResult::None});
    if (answer != MsgResult::No) m_engine->setCancel(true);
    return true;
}

void TSaveForm1::CkBtt3DQuitter() {
    if (m_ended || offerCancel()) return;
    if (!writeQuitSettings()) return;
    closeLog();
    m_quitting = true;
    close();
}

bool TSaveForm1::writeQuitSettings() {
    try {
        PrivateProfile& ini = *m_iniFile;
        SaveHistory(m_ui->ComboPath, ini.path(),
                    QString::fromLatin1(settings::kHistoryStorageDir.section));
        SaveHistory(m_ui->ComboWildCar, ini.path(),
                    QString::fromLatin1(settings::kHistoryFilter.section));
        EjectClose();
        settings::write(ini, settings::kMakeSfx, m_ui->CBExe->Checked());
        settings::write(ini, settings::kSubDirs, m_ui->CbSubDir->Checked());
        settings::write(ini, settings::kStorePaths, m_ui->CbPath->Checked());
        settings::write(ini, settings::kUsePassword, m_ui->CBPassWord->Checked());
        settings::write(ini, settings::kUpdateArchive, m_ui->CbUpdateZip->Checked());
        settings::write(ini, settings::kDatePrefix, m_ui->CBDatePrefix->Checked());
        settings::write(ini, settings::kEjectAtEnd, m_ui->CbEject->Checked());
        settings::write(ini, settings::kCloseAfterBackup, m_ui->AuToClose->Checked());
        settings::write(ini, settings::kLevel, m_ui->UpTxComp->value());
    } catch (const SettingsWriteError& error) {
        // The window stays open so that nothing the user chose is lost unseen.
        m_host->messageBox(MessageRequest{error.text(), applicationTitle(), MsgButtons::Ok,
                                          MsgIcon::Error, MsgResult::None});
        return false;
    }
    m_iniFile.reset();
    return true;
}

// The medium of the destination leaves the drive when the user asked for it.
void TSaveForm1::EjectClose() {
    m_run->EjectClose(backupRequest());
}

void TSaveForm1::closeEvent(QCloseEvent* event) {
    // The close box stores nothing; it too must not end a running compression.
    if (!m_quitting && offerCancel()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TSaveForm1::appendLog(const QString& line) {
    m_log->add(line);
    m_ui->MemoLog->appendPlainText(line);
}

void TSaveForm1::openLog() {
    const bool readable = m_log->open(logDateTimeText());
    m_ui->MemoLog->setPlainText(m_log->lines().join(QLatin1Char('\n')));
    if (!readable) inform(QStringLiteral("Ne peut lire %1").arg(logFile()));
}

// The log file is replaced only once the whole new text is written.
void TSaveForm1::closeLog() {
    if (!m_log->close(logDateTimeText()))
        inform(QStringLiteral("Ne peut écrire dans %1").arg(logFile()));
}

void TSaveForm1::inform(const QString& text) {
    m_host->messageBox(MessageRequest{text, applicationTitle(), MsgButtons::Ok,
                                      MsgIcon::Information, MsgResult::None});
}

} // namespace brx
