#include "app/AboutBox.h"

#include "platform/ProgramInfo.h"
#include "platform/VersionBlock.h"
#include "ui_AboutBox.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>

namespace brx {

namespace {

// The web page that announces new versions of the program.
const QString kUpdatesPage = QStringLiteral("https://brx-explo.example.org/mises-a-jour");

// The program's icon as the build lays it out beside the program; the
// nearest size at or above 32 pixels, else the largest there is.
QPixmap programIcon() {
    const QString base = programFolder() + QStringLiteral("icons/hicolor/");
    QPixmap best;
    for (const int size : {32, 48, 64, 128, 256, 24, 16}) {
        const QString file = base + QStringLiteral("%1x%1/apps/brx_explo.png").arg(size);
        if (QFileInfo::exists(file) && best.load(file)) break;
    }
    if (best.isNull()) return {};
    return best.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

TEXPL_AboutBox::TEXPL_AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_ui(std::make_unique<Ui::EXPL_AboutBox>()) {
    m_ui->setupUi(this);
    OnOpenUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    connect(m_ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->BttnHlp, &QPushButton::clicked, this, &TEXPL_AboutBox::BttnHlpClick);
    connect(m_ui->LinkUpdates, &QLabel::linkActivated, this, &TEXPL_AboutBox::LinkActivated);
    connect(m_ui->LinkFolder, &QLabel::linkActivated, this, &TEXPL_AboutBox::LinkActivated);
    FormCreate();
}

TEXPL_AboutBox::~TEXPL_AboutBox() = default;

void TEXPL_AboutBox::FormCreate() {
    m_ui->ProductName->setText(QStringLiteral("BRX_EXPLO ") + VersionText(VersionKey::FileVersion));
    m_ui->ProgramIcon->setPixmap(programIcon());
    setFixedSize(sizeHint().expandedTo(QSize(329, 268)));
}

void TEXPL_AboutBox::BttnHlpClick() {
    if (OnHelpRequested) OnHelpRequested(kHelpContext);
}

QUrl TEXPL_AboutBox::linkTarget(const QString& href) {
    if (href == QStringLiteral("folder")) return QUrl::fromLocalFile(programFolder());
    if (href == QStringLiteral("updates")) return QUrl(kUpdatesPage);
    return {};
}

void TEXPL_AboutBox::LinkActivated(const QString& href) {
    const QUrl target = linkTarget(href);
    if (target.isValid() && OnOpenUrl) OnOpenUrl(target);
}

} // namespace brx
