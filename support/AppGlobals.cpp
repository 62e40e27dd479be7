#include "support/AppGlobals.h"

#include <QCoreApplication>

namespace brx {

namespace {
QString& helpFileSlot() {
    static QString file = kHelpFileName;
    return file;
}
} // namespace

QString applicationTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? kApplicationTitle : name;
}

void setApplicationTitle(const QString& title) {
    QCoreApplication::setApplicationName(title);
}

QString helpFile() {
    return helpFileSlot();
}

void setHelpFile(const QString& file) {
    helpFileSlot() = file;
}

} // namespace brx
