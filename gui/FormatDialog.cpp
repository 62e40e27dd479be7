#include "gui/FormatDialog.h"

#include "engine/span/FormatThread.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace brx {

FormatDialog::FormatDialog(const FormatRequest& request, FormatThread& worker, QWidget* parent)
    : QDialog(parent)
    , m_request(request)
    , m_worker(worker) {
    setWindowTitle(QStringLiteral("Formater %1").arg(request.driveRoot));
    auto* fileSystem = new QComboBox(this);
    fileSystem->addItem(QStringLiteral("FAT"));
    fileSystem->setEnabled(false);
    m_label = new QLineEdit(request.volumeLabel, this);
    m_label->setObjectName(QStringLiteral("VolumeLabel"));
    m_label->setEnabled(false);
    auto* quick = new QCheckBox(QStringLiteral("Formatage rapide"), this);
    quick->setChecked(true);
    quick->setEnabled(false);
    m_status = new QLabel(this);
    m_start = new QPushButton(QStringLiteral("Démarrer"), this);
    m_close = new QPushButton(QStringLiteral("Fermer"), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Système de fichiers :"), fileSystem);
    form->addRow(QStringLiteral("Nom de volume :"), m_label);
    form->addRow(quick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    connect(m_label, &QLineEdit::textChanged, this, &FormatDialog::keepLabel);
    connect(m_start, &QPushButton::clicked, this, &FormatDialog::startFormat);
    connect(m_close, &QPushButton::clicked, this, &FormatDialog::reject);
    connect(&m_worker, &QThread::finished, this, &FormatDialog::formatFinished);
    m_worker.setDialogFound();
    if (!request.confirmErase) QTimer::singleShot(0, this, &FormatDialog::startFormat);
}

int FormatDialog::formatResult() const {
    return m_started ? m_worker.result() : kFormatCancelled;
}

// The disk must carry the label of its volume in the set.
void FormatDialog::keepLabel(const QString& text) {
    if (text != m_request.volumeLabel) m_label->setText(m_request.volumeLabel);
}

void FormatDialog::startFormat() {
    if (m_started) return; // once per disk
    m_started = true;
    m_start->setEnabled(false);
    m_close->setEnabled(false);
    m_status->setText(QStringLiteral("Formatage en cours..."));
    m_worker.start(QThread::NormalPriority);
}

void FormatDialog::formatFinished() {
    m_close->setEnabled(true);
    if (m_worker.result() == 0)
        m_status->setText(QStringLiteral("Formatage terminé."));
    else
        m_status->setText(QStringLiteral("Le formatage a échoué. %1").arg(m_worker.errorText()));
    if (!m_request.confirmErase) accept();
}

// A running format cannot be interrupted: the dialog stays until it ends.
void FormatDialog::reject() {
    if (m_worker.isRunning()) return;
    QDialog::reject();
}

int WidgetFormatDialog::exec(const FormatRequest& request, FormatThread& worker) {
    FormatDialog dialog(request, worker, m_parent);
    dialog.exec();
    worker.wait();
    return dialog.formatResult();
}

} // namespace brx
