#include "platform/ProgramInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace brx {

QString programFilePath() {
    QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty()) path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return path;
}

QString programFolder() {
    QString folder = QFileInfo(programFilePath()).absolutePath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

} // namespace brx
