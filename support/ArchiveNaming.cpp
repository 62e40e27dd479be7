#include "support/ArchiveNaming.h"

#include "platform/LocaleInfo.h"
#include "platform/Volumes.h"
#include "support/Folders.h"
#include "support/PathNames.h"

#include <QDir>

namespace brx {

namespace {

// A DOS drive spelling such as "C:", "c:" or "C:\" still names its drive.
bool isDriveSpelling(const QString& s) {
    return s.contains(QLatin1Char(':')) && s.size() <= 3;
}

// On Linux a volume root is named after its file-system label, else after
// the last component of its mount point ("/media/u/CLE" -> Dsk_CLE), and the
// root of the whole system is Dsk_Root. A "/" in a label would split the
// name, so it becomes "_".
QString volumeRootName(const QString& root, const IVolumes& volumes) {
    QString name = volumes.volumeLabel(WithBackslash(QDir::cleanPath(root)));
    if (name.isEmpty()) name = QDir::cleanPath(root).section(kPathSeparator, -1);
    if (name.isEmpty()) name = QStringLiteral("Root");
    name.replace(kPathSeparator, QLatin1Char('_'));
    return QStringLiteral("Dsk_") + name;
}

// A ".BRX" backup set is named after its file without extension and without
// the "!" that marks some sets.
QString backupSetName(const QString& s) {
    const QString fileName = s.section(kPathSeparator, -1);
    if (!fileName.contains(QStringLiteral(".BRX"), Qt::CaseInsensitive)) return s;
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    QString name = fileName.left(dot);
    if (name.startsWith(QLatin1Char('!'))) name.remove(0, 1);
    return name;
}

QString baseNameOf(const QString& source, const IVolumes& volumes, const ILocaleInfo& locale) {
    if (source.isEmpty())
        return IsFrenchUser(locale) ? QStringLiteral("SansNom") : QStringLiteral("NoName");
    if (isDriveSpelling(source)) return QStringLiteral("Dsk_") + source.at(0).toUpper();
    if (isVolumeRoot(source, volumes)) return volumeRootName(source, volumes);
    QString s = source;
    if (FolderExists(s)) s = QDir::cleanPath(QDir::current().absoluteFilePath(s));
    s = WithoutBackslash(backupSetName(s));
    return s.section(kPathSeparator, -1); // the last path component
}

} // namespace

bool IsFrenchUser() {
    return IsFrenchUser(SystemLocaleInfo());
}

bool IsFrenchUser(const ILocaleInfo& locale) {
    return locale.isFrench();
}

QString ArchiveBaseName(const QString& source, bool asExe, bool withExtension) {
    return ArchiveBaseName(source, asExe, withExtension, systemVolumes(), SystemLocaleInfo());
}

QString ArchiveBaseName(const QString& source, bool asExe, bool withExtension,
                        const IVolumes& volumes, const ILocaleInfo& locale) {
    QString name = baseNameOf(source, volumes, locale);
    if (!withExtension) return name;
    const QString ext = asExe ? QStringLiteral(".exe") : QStringLiteral(".zip");
    if (!name.contains(ext, Qt::CaseInsensitive)) name += ext;
    return name;
}

} // namespace brx
