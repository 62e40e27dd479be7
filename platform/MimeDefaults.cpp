#include "platform/MimeDefaults.h"

#include "platform/DesktopExec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

namespace brx {

namespace {

QStringList envFolders(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return (value.isEmpty() ? fallback : value).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QString envFolder(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

} // namespace

QString iniValue(const QString& file, const QString& group, const QString& key) {
    QFile in(file);
    if (file.isEmpty() || !in.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream text(&in);
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    bool inGroup = false;
    while (!text.atEnd()) {
        const QString line = text.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inGroup = (line == header);
        else if (inGroup && line.contains(QLatin1Char('=')) &&
                 line.section(QLatin1Char('='), 0, 0).trimmed() == key)
            return line.section(QLatin1Char('='), 1).trimmed();
    }
    return {};
}

QStringList iniListValue(const QString& file, const QString& group, const QString& key) {
    return iniValue(file, group, key).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

MimeDefaults MimeDefaults::fromEnvironment() {
    const QString home = QDir::homePath();
    MimeDefaults d;
    d.configDirs << envFolder("XDG_CONFIG_HOME", home + QStringLiteral("/.config"))
                 << envFolders("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    QStringList dataDirs{envFolder("XDG_DATA_HOME", home + QStringLiteral("/.local/share"))};
    dataDirs << envFolders("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& dir : dataDirs) d.applicationDirs << dir + QStringLiteral("/applications");
    for (const QString& name : envFolders("XDG_CURRENT_DESKTOP", QString()))
        d.desktopNames << name.toLower();
    return d;
}

QStringList MimeDefaults::mimeappsFiles() const {
    QStringList files;
    for (const QStringList* dirs : {&configDirs, &applicationDirs}) {
        for (const QString& dir : *dirs) {
            for (const QString& desktop : desktopNames)
                files << dir + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list");
            files << dir + QStringLiteral("/mimeapps.list");
        }
    }
    return files;
}

QString MimeDefaults::defaultApplication(const QStringList& mimeTypes) const {
    const QStringList lists = mimeappsFiles();
    for (const QString& type : mimeTypes) {
        for (const QString& group :
             {QStringLiteral("Default Applications"), QStringLiteral("Added Associations")})
            for (const QString& file : lists)
                if (const QString id = firstInstalled(iniListValue(file, group, type));
                    !id.isEmpty())
                    return id;
        for (const QString& dir : applicationDirs)
            if (const QString id = firstInstalled(iniListValue(
                    dir + QStringLiteral("/mimeinfo.cache"), QStringLiteral("MIME Cache"), type));
                !id.isEmpty())
                return id;
    }
    return {};
}

QString MimeDefaults::firstInstalled(const QStringList& ids) const {
    for (const QString& id : ids)
        if (!desktopFile(id.trimmed()).isEmpty()) return id.trimmed();
    return {};
}

// A desktop id "a-b.desktop" may also live as a/b.desktop in a subfolder.
QString MimeDefaults::desktopFile(const QString& desktopId) const {
    if (desktopId.isEmpty()) return {};
    QString nested = desktopId;
    nested.replace(QLatin1Char('-'), QLatin1Char('/'));
    for (const QString& dir : applicationDirs)
        for (const QString& name : {desktopId, nested})
            if (QFileInfo(dir + QLatin1Char('/') + name).isFile())
                return dir + QLatin1Char('/') + name;
    return {};
}

QString MimeDefaults::programOf(const QString& desktopId) const {
    const QStringList words = commandFor(desktopId, QString());
    if (words.isEmpty()) return {};
    const QString found = QStandardPaths::findExecutable(words.first());
    return found.isEmpty() ? words.first() : found;
}

QStringList MimeDefaults::commandFor(const QString& desktopId, const QString& file) const {
    const QString entry = desktopFile(desktopId);
    const QString group = QStringLiteral("Desktop Entry");
    const QString exec = iniValue(entry, group, QStringLiteral("Exec"));
    if (exec.isEmpty()) return {};
    const DesktopExecContext context{
        file, unescapeDesktopString(iniValue(entry, group, QStringLiteral("Icon"))),
        unescapeDesktopString(iniValue(entry, group, QStringLiteral("Name"))), entry};
    return expandDesktopExec(exec, context).value_or(QStringList());
}

} // namespace brx
