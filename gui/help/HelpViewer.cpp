#include "HelpViewer.h"

#include "HelpWindow.h"

#include <QCoreApplication>
#include <QDir>

namespace brx {

void ShowHelpContext(QWidget* parent, int context) {
    const QString path =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bramblex.hlp"));
    ShowHelpFile(parent, path, context);
}

} // namespace brx
