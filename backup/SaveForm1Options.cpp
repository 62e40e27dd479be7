// The backup window's option handlers: check boxes, the context menu, the
// destination and filter boxes, the commands of the right-hand column.

#include "backup/NameKeys.h"
#include "backup/TSaveForm1.h"

#include "app/AboutBox.h"
#include "controls/Hints.h"
#include "controls/TCheckBox98.h"
#include "controls/TComboBox98.h"
#include "controls/TDRLabel.h"
#include "controls/THemisphereButton.h"
#include "controls/THintHandler.h"
#include "gui/HistoryCombo.h"
#include "gui/password/TFormPswIni.h"
#include "settings/SettingsKeys.h"
#include "support/PathNames.h"
#include "support/ProgramLauncher.h"
#include "support/TextFormat.h"
#include "ui_SaveForm1.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

namespace brx {

namespace {

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString homeFolder() {
    return WithBackslash(QDir::homePath());
}

} // namespace

void TSaveForm1::setupMenu() {
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    m_storePassword = m_popup->addAction(QStringLiteral("Stocker/Changer  le Mot de Passe"));
    m_storePassword->setObjectName(QStringLiteral("StorePassword"));
    m_storePassword->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    addAction(m_storePassword); // the shortcut works without the menu
    m_formatDate = m_popup->addMenu(QStringLiteral("Changer Format Préfixe-Date"));
    m_formatDate->setObjectName(QStringLiteral("FormatDate"));
    m_dayMonth = m_formatDate->addAction(QStringLiteral("JJMM"));
    m_dayMonth->setObjectName(QStringLiteral("JJMM"));
    m_monthDay = m_formatDate->addAction(QStringLiteral("MMJJ"));
    m_monthDay->setObjectName(QStringLiteral("MMJJ"));
    for (QAction* item : {m_dayMonth, m_monthDay}) item->setCheckable(true);
    m_dayMonth->setChecked(true);
    m_showHints = m_popup->addAction(QStringLiteral("Affichage des bulles d'aide."));
    m_showHints->setObjectName(QStringLiteral("AffichageHint"));
    m_showHints->setCheckable(true);

    connect(m_storePassword, &QAction::triggered, this, &TSaveForm1::StorePasswordClick);
    connect(m_formatDate, &QMenu::aboutToShow, this, &TSaveForm1::FormatDateClick);
    // The menu has already flipped the entry chosen; the other one is flipped here.
    connect(m_dayMonth, &QAction::triggered, this,
            [this] { swapDateOrder(m_dayMonth->isChecked()); });
    connect(m_monthDay, &QAction::triggered, this,
            [this] { swapDateOrder(!m_dayMonth->isChecked()); });
    connect(m_showHints, &QAction::triggered, this, &TSaveForm1::AffichageHintClick);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_popup->popup(mapToGlobal(pos)); });
}

void TSaveForm1::connectHandlers() {
    m_ui->CBExe->OnClick = [this](TCheckBox98*) { CBExeClick(); };
    m_ui->CBDatePrefix->OnClick = [this](TCheckBox98*) { CBDatePrefixClick(); };
    connect(m_ui->ComboPath, &QComboBox::editTextChanged, this, &TSaveForm1::ComboPathChange);
    connect(m_ui->ComboPath, &QComboBox::currentTextChanged, this, &TSaveForm1::ComboPathChange);
    connect(m_ui->ComboWildCar, &QComboBox::editTextChanged, this, &TSaveForm1::UpdateDestination);
    connect(m_ui->ComboWildCar, &QComboBox::currentTextChanged, this,
            &TSaveForm1::UpdateDestination);
    connect(m_ui->EdArchiveName, &QLineEdit::textChanged, this, &TSaveForm1::UpdateDestination);
    connect(m_ui->Bttn3DDelComboPath, &QAbstractButton::clicked, this,
            &TSaveForm1::Bttn3DDelComboPathClick);
    connect(m_ui->Bttn3dBrowseFolder, &QAbstractButton::clicked, this,
            &TSaveForm1::Bttn3dBrowseFolderClick);
    connect(m_ui->Btt3Ddetails, &QAbstractButton::clicked, this, &TSaveForm1::Btt3DdetailsClick);
    connect(m_ui->Bttn3DAbout, &QAbstractButton::clicked, this, &TSaveForm1::Bttn3DAboutClick);
    connect(m_ui->Bttn3dQuitter, &QAbstractButton::clicked, this, &TSaveForm1::CkBtt3DQuitter);
    connect(m_zipButton, &QAbstractButton::clicked, this, &TSaveForm1::CliCBtn3dZip);
    m_ui->Lb3Details->OnClick = [this](TDRLabel*) { Btt3DdetailsClick(); };
    m_ui->Lb3About->OnClick = [this](TDRLabel*) { Bttn3DAboutClick(); };
    m_ui->Lb3Quit->OnClick = [this](TDRLabel*) { CkBtt3DQuitter(); };
    connect(m_ui->ListBox1, &QListWidget::itemClicked, this,
            [this] { listLineClicked(m_ui->ListBox1); });
    connect(m_ui->ListBox3, &QListWidget::itemClicked, this,
            [this] { listLineClicked(m_ui->ListBox3); });
    // Keys reach the window before its controls (Esc, F5, F9 to F11); the
    // name, destination and filter boxes filter what is typed.
    qApp->installEventFilter(this);
}

// Runs before the box changes: Checked() is the state before the click.
void TSaveForm1::CBExeClick() {
    m_ui->LbZipExt->setText(m_ui->CBExe->Checked() ? QStringLiteral(".Zip")
                                                   : QStringLiteral(".Exe"));
    UpdateDestination();
}

void TSaveForm1::CBDatePrefixClick() {
    const bool turningOn = !m_ui->CBDatePrefix->Checked();
    m_ui->LbDateZip->setText(DatePrefix(m_dayMonth->isChecked(), turningOn, m_services.today()));
    UpdateDestination();
}

void TSaveForm1::FormatDateClick() {
    const QDate today = m_services.today();
    const QString day = twoDigits(today.day());
    const QString month = twoDigits(today.month());
    m_dayMonth->setText(QStringLiteral("JourMoisArchive.zip -> ") + day + month +
                        QStringLiteral("MesDatas.zip"));
    m_monthDay->setText(QStringLiteral("MoisJourArchive.zip -> ") + month + day +
                        QStringLiteral("MesDatas.zip"));
}

// Either entry swaps the order, the checked one included.
void TSaveForm1::swapDateOrder(bool dayFirst) {
    m_dayMonth->setChecked(dayFirst);
    m_monthDay->setChecked(!dayFirst);
    settings::write(*m_iniFile, settings::kDayBeforeMonth, dayFirst);
    showDatePrefix();
    UpdateDestination();
}

void TSaveForm1::AffichageHintClick() {
    applyHints(m_showHints->isChecked());
    settings::write(*m_iniFile, settings::kShowHints, m_showHints->isChecked());
}

void TSaveForm1::applyHints(bool on) {
    m_hints->SetShowHint(on);
}

void TSaveForm1::ComboPathChange() {
    m_destinationFolder = WithBackslash(m_ui->ComboPath->currentText());
    UpdateDestination();
}

void TSaveForm1::Bttn3DDelComboPathClick() {
    ResetToDrives(m_ui->ComboPath, *m_volumes);
    ComboPathChange();
}

void TSaveForm1::Bttn3dBrowseFolderClick() {
    const QString chosen = chooseFolder();
    const QString folder = chosen.isEmpty() ? homeFolder() : WithBackslash(chosen);
    m_ui->ComboPath->setEditText(folder);
    RememberCurrentText(m_ui->ComboPath, HistoryKind::Paths);
    ComboPathChange();
}

QString TSaveForm1::chooseFolder() {
    if (m_services.chooseFolder) return m_services.chooseFolder();
    return QFileDialog::getExistingDirectory(this, QString());
}

void TSaveForm1::ComboWildCarExit() {
    if (!m_ui->ComboWildCar->currentText().isEmpty())
        RememberCurrentText(m_ui->ComboWildCar, HistoryKind::Texts);
    UpdateDestination();
}

void TSaveForm1::LbFiltreDblClick() {
    m_ui->ComboWildCar->clear();
    m_ui->ComboWildCar->setEditText(QStringLiteral("*.*"));
    UpdateDestination();
}

void TSaveForm1::listLineClicked(QListWidget* list) {
    if (const QListWidgetItem* item = list->currentItem()) SetHint(list, item->text());
}

void TSaveForm1::Btt3DdetailsClick() {
    setFixedWidth(width() <= 400 ? 590 : 400);
}

void TSaveForm1::StorePasswordClick() {
    showStoredPasswordDialog(*m_host, this, m_programFolder);
}

void TSaveForm1::Bttn3DAboutClick() {
    if (m_services.showAbout) {
        m_services.showAbout();
        return;
    }
    TEXPL_AboutBox about(this);
    about.exec();
}

void TSaveForm1::Image1Click() {
    const QString folder = m_ui->ComboPath->currentText();
    showMinimized();
    RunProgram(FileManagerCommand(folder), 3, false, *m_processes);
    appendLog(QStringLiteral("-Appel explorer : ") + folder);
}

void TSaveForm1::hoverCommands(QObject* watched) {
    const std::pair<QObject*, QFrame*> commands[] = {{m_ui->Lb3Quit, m_ui->BevelQuit},
                                                     {m_ui->Lb3Details, m_ui->BevelDetails},
                                                     {m_ui->Lb3About, m_ui->BevelAbout}};
    for (const auto& [label, bevel] : commands)
        if (watched == label) bevel->setFrameShadow(QFrame::Sunken);
    if (watched == this || watched == m_ui->CentralPanel)
        for (const auto& [label, bevel] : commands) bevel->setFrameShadow(QFrame::Raised);
}

// Enter in a history box first remembers its text; then only the name
// characters pass.
bool TSaveForm1::filterNameKey(QObject* watched, QKeyEvent* key) {
    const bool inPath = watched == m_ui->ComboPath->lineEdit();
    const bool inFilter = watched == m_ui->ComboWildCar->lineEdit();
    if (!inPath && !inFilter && watched != m_ui->EdArchiveName) return false;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (inPath) RememberCurrentText(m_ui->ComboPath, HistoryKind::Paths);
        if (inFilter) RememberCurrentText(m_ui->ComboWildCar, HistoryKind::Texts);
        UpdateDestination();
        return inPath || inFilter;
    }
    return !acceptsNameKeyText(key->text());
}

} // namespace brx
