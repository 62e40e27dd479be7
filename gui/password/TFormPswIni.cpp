#include "gui/password/TFormPswIni.h"

#include "engine/base/UserHost.h"
#include "gui/password/StoredPassword.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsKeys.h"
#include "support/AppGlobals.h"

#include "ui_FormPswIni.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProxyStyle>
#include <QScreen>

namespace brx {

namespace {

const QString kInfoPassword = QStringLiteral(
    "Vous pouvez stocker un mot de passe permanent, simplement brouillé (pas chiffré), qui sera "
    "utilisé pour toutes vos futures archives. Pour supprimer le mot de passe par défaut, laissez "
    "les deux boites de saisies vides avant de valider.");
const QString kInfoTimeOut = QStringLiteral(
    "BRAMBLEX se fermera automatiquement si aucune erreur ne s'est produite durant la "
    "sauvegarde. Spécifiez le délai avant fermeture automatique ( 20 secondes par défaut ).");
const QString kEntriesDiffer = QStringLiteral("Les deux saisies sont différentes, recommencez.");

// The entries show "#" for each character typed.
class HashMaskStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '#';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

TFormPswIni::TFormPswIni(IUserHost& host, QWidget* parent, QString programFolder)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::FormPswIni>())
    , m_host(host)
    , m_programFolder(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                              : std::move(programFolder)) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(360, 304);
    // The up-down control and its edit are one widget here; the edit keeps its name.
    m_ui->UpDEdtimeOut->findChild<QLineEdit*>()->setObjectName(QStringLiteral("edTimeOut"));
    auto* mask = new HashMaskStyle;
    mask->setParent(this);
    m_ui->MaskEdit1->setStyle(mask);
    m_ui->MaskEdit2->setStyle(mask);

    connect(m_ui->BttnOk, &QPushButton::clicked, this, &TFormPswIni::BttnOkClick);
    connect(m_ui->BttnCancel, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

TFormPswIni::~TFormPswIni() = default;

void TFormPswIni::setDelayEditable(bool editable) {
    m_ui->GroupBox2->setEnabled(editable);
}

void TFormPswIni::FormCreate() {
    m_iniFile = std::make_unique<PrivateProfile>(settingsFileIn(m_programFolder));
    m_ui->lbInfoPssword->setText(kInfoPassword);
    m_ui->LbInfoTimeOut->setText(kInfoTimeOut);
    // An unchanged stored password validates as it stands.
    m_ui->MaskEdit1->setText(readStoredPassword(*m_iniFile));
    m_ui->MaskEdit2->setText(m_ui->MaskEdit1->text());
    m_ui->UpDEdtimeOut->setValue(settings::read(*m_iniFile, settings::kTimeoutSeconds));
}

void TFormPswIni::BttnOkClick() {
    const QString first = m_ui->MaskEdit1->text();
    const QString second = m_ui->MaskEdit2->text();
    if (first != second) {
        refuseEntries(kEntriesDiffer);
        return;
    }
    if (const QString refusal = storedPasswordRefusal(second); !refusal.isEmpty()) {
        refuseEntries(refusal);
        return;
    }
    try {
        writeStoredPassword(*m_iniFile, second);
        settings::write(*m_iniFile, settings::kTimeoutSeconds, m_ui->UpDEdtimeOut->value());
    } catch (const SettingsWriteError& error) {
        // The user keeps the dialog and may try again once the file is writable.
        showWarning(error.text());
        return;
    }
    accept();
}

void TFormPswIni::refuseEntries(const QString& message) {
    showWarning(message);
    m_ui->MaskEdit1->clear();
    m_ui->MaskEdit2->clear();
    m_ui->MaskEdit1->setFocus();
}

void TFormPswIni::showWarning(const QString& text) {
    MessageRequest request;
    request.text = text;
    request.caption = applicationTitle();
    request.icon = MsgIcon::Warning;
    m_host.messageBox(request);
}

void TFormPswIni::done(int result) {
    QDialog::done(result);
    m_iniFile.reset();
}

void TFormPswIni::showEvent(QShowEvent* event) {
    // Shown again after closing: read the file anew, as a new dialog would.
    if (!m_iniFile) FormCreate();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void showStoredPasswordDialog(IUserHost& host, QWidget* parent, const QString& programFolder) {
    TFormPswIni dialog(host, parent, programFolder);
    dialog.setDelayEditable(false);
    dialog.exec();
}

} // namespace brx
