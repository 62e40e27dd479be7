#include "backup/TSaveForm1.h"

#include "support/AppGlobals.h"
#include "support/PathNames.h"

#include <QLabel>
#include <QVBoxLayout>

namespace brx {

TSaveForm1::TSaveForm1(const QString& argument, QWidget* parent)
    : QMainWindow(parent)
    , m_folder(DisplayPathName(argument.mid(2))) {
    setObjectName(QStringLiteral("SaveForm1"));
    setWindowTitle(applicationTitle());
    resize(420, 260);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* label = new QLabel(QStringLiteral("Sauvegarde de : %1").arg(m_folder), central);
    label->setObjectName(QStringLiteral("LabelFolder"));
    layout->addWidget(label);
    layout->addStretch();
    setCentralWidget(central);
}

} // namespace brx
