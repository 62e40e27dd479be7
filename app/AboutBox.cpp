#include "app/AboutBox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brx {

TEXPL_AboutBox::TEXPL_AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("EXPL_AboutBox"));
    setWindowTitle(QStringLiteral("A propos"));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(QStringLiteral("BRX_EXPLO "), this);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    layout->addWidget(name);
    auto* tips = new QLabel(
        QStringLiteral("Utilitaire de sauvegarde et de manipulation d'archives ZIP/EXE. "), this);
    tips->setObjectName(QStringLiteral("btTips1"));
    tips->setWordWrap(true);
    layout->addWidget(tips);
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("OKButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close);
    resize(329, 268);
}

} // namespace brx
