// The icon box of the "Entêtes" page: icon N of an .ico, .exe or .dll file,
// which the next conversion embeds.

#include "archive_window/TMainForm.h"
#include "controls/TDRLabel.h"
#include "engine/ZipEngine.h"
#include "platform/ProgramInfo.h"
#include "support/PeIcons.h"
#include "ui_MainForm.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QSignalBlocker>

namespace brx {

namespace {

// Larger files are no icon source worth reading whole.
constexpr qint64 kMaxIconSourceSize = 256 * 1024 * 1024;

bool hasSuffix(const QString& path, QLatin1StringView suffix) {
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

bool isIcoName(const QString& path) {
    return hasSuffix(path, QLatin1StringView("ico"));
}

// Only programs and libraries hold numbered icons.
bool holdsNumberedIcons(const QString& path) {
    return hasSuffix(path, QLatin1StringView("exe")) || hasSuffix(path, QLatin1StringView("dll"));
}

// The .ico bytes of icon number index of file; empty when it holds none.
QByteArray iconOf(const QString& file, int index) {
    QFile source(file);
    if (source.size() > kMaxIconSourceSize || !source.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = source.readAll();
    if (isIcoName(file)) return index == 0 ? bytes : QByteArray();
    return groupIconAsIco(bytes, index).value_or(QByteArray());
}

} // namespace

void TMainForm::setupIconBox() {
    m_ui->Lb3dDefautIco->SetCaption(QStringLiteral("DEFAULT.ICO"));
    m_ui->Lb3dDefautIco->OnClick = [this](TDRLabel*) { DefaultIcoClick(); };
    connect(m_ui->BrowseIco, &QAbstractButton::clicked, this, &TMainForm::BrowseIcoClick);
    connect(m_ui->IconIndexUD, &QSpinBox::valueChanged, this, &TMainForm::iconIndexChanged);
    connect(m_ui->IconEdit, &QLineEdit::textEdited, this, &TMainForm::iconFileEdited);
    setIconIndexEnabled(false);
    // Until a default.ico is found beside the program, the box shows the
    // icon the engine was given at creation.
    QFile builtIn(QStringLiteral(":/archive_window/default.ico"));
    if (builtIn.open(QIODevice::ReadOnly)) {
        const QImage image = QImage::fromData(builtIn.readAll(), "ICO");
        if (!image.isNull()) {
            m_iconBytes = m_engine->SFXIcon();
            m_ui->Image2->setPixmap(QPixmap::fromImage(image.scaled(32, 32)));
        }
    }
}

void TMainForm::showIcon(const QString& file, int index) {
    m_ui->Image2->clear();
    m_iconBytes.clear();
    const QByteArray ico = iconOf(file, index);
    const QImage image = QImage::fromData(ico, "ICO");
    if (image.isNull()) return;
    m_iconBytes = ico;
    m_ui->Image2->setPixmap(
        QPixmap::fromImage(image.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TMainForm::DefaultIcoClick() {
    const QString file = programFolder() + QStringLiteral("default.ico");
    if (QFileInfo::exists(file)) showIcon(file, 0);
}

void TMainForm::setIconIndexEnabled(bool enabled) {
    // Disabled, the number shows on the button face colour; enabled, on the
    // window colour.
    QPalette palette = m_ui->IconIndexEdit->palette();
    palette.setColor(QPalette::Base, enabled ? QWidget::palette().color(QPalette::Base)
                                             : QWidget::palette().color(QPalette::Button));
    palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Base));
    m_ui->IconIndexEdit->setPalette(palette);
    m_ui->IconIndexEdit->setEnabled(enabled);
    m_ui->IconIndexUD->setEnabled(enabled);
}

void TMainForm::BrowseIcoClick() {
    const QString file =
        OnChooseIconFile ? OnChooseIconFile() : QFileDialog::getOpenFileName(this, QString());
    if (file.isEmpty()) return;
    m_ui->IconEdit->setText(file);
    if (isIcoName(file)) {
        showIcon(file, 0);
        m_ui->IconIndexEdit->setText(QStringLiteral("0"));
        const QSignalBlocker quiet(m_ui->IconIndexUD);
        m_ui->IconIndexUD->setValue(0);
        setIconIndexEnabled(false);
        m_engine->setSFXIcon(m_iconBytes);
        return;
    }
    bool isNumber = false;
    const int index = m_ui->IconIndexEdit->text().toInt(&isNumber);
    showIcon(file, isNumber ? index : 0);
    setIconIndexEnabled(holdsNumberedIcons(file));
}

void TMainForm::iconIndexChanged(int index) {
    m_ui->IconIndexEdit->setText(QString::number(index));
    showIcon(m_ui->IconEdit->text(), index);
}

void TMainForm::iconFileEdited() {
    const QString file = m_ui->IconEdit->text();
    if (!QFileInfo(file).isFile()) return;
    bool isNumber = false;
    const int index = m_ui->IconIndexEdit->text().toInt(&isNumber);
    showIcon(file, isNumber ? index : 0);
}

} // namespace brx
