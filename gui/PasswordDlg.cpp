#include "gui/PasswordDlg.h"

#include "engine/base/ZipMsg.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace brx {

namespace {

constexpr int kMaxPasswordChars = 80;

QPushButton* makeButton(QWidget* parent, int textId, QStyle::StandardPixmap icon, int left) {
    auto* button = new QPushButton(LoadZipStr(textId), parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setGeometry(left, 72, 90, 28);
    return button;
}

} // namespace

TPasswordDlg::TPasswordDlg(QWidget* parent) : QDialog(parent) {
    setFixedSize(344, 137);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    setFont(font);

    m_prompt = new QLabel(this);
    m_prompt->setGeometry(20, 8, 297, 18);
    m_edit = new QLineEdit(this);
    m_edit->setGeometry(20, 40, 297, m_edit->sizeHint().height());
    m_edit->setEchoMode(QLineEdit::Password);
    m_edit->setMaxLength(kMaxPasswordChars);
    m_ok = makeButton(this, PW_Ok, QStyle::SP_DialogOkButton, 44);
    m_ok->setDefault(true);
    m_cancel = makeButton(this, PW_Cancel, QStyle::SP_DialogCancelButton, 205);

    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_confirmed = true;
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TPasswordDlg::ShowPasswordDlg(const QString& caption, const QString& prompt) {
    m_confirmed = false;
    setWindowTitle(caption);
    m_prompt->setText(prompt);
    m_edit->clear();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
    return m_confirmed ? m_edit->text() : QString();
}

std::optional<QString> passwordDlgPrompt(const QString& caption, const QString& prompt) {
    TPasswordDlg dialog;
    const QString text = dialog.ShowPasswordDlg(caption, prompt);
    if (!dialog.confirmed()) return std::nullopt;
    return text;
}

} // namespace brx
