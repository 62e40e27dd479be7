#pragma once
// The freedesktop rules for the default application of a MIME type:
// mimeapps.list files ([Default Applications], then [Added Associations]) in
// the configuration and data folders, then the mimeinfo.cache files that
// list every installed application per type.

#include <QString>
#include <QStringList>

namespace brx {

class MimeDefaults {
public:
    // Folders in order of precedence, each without trailing "/".
    QStringList configDirs;      // $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS
    QStringList applicationDirs; // $XDG_DATA_HOME/applications, then $XDG_DATA_DIRS/*/applications
    QStringList desktopNames;    // $XDG_CURRENT_DESKTOP, lower case

    static MimeDefaults fromEnvironment();

    // The desktop entry id (e.g. "org.gnome.gedit.desktop") that opens the
    // first of mimeTypes that has one; empty when none is installed.
    QString defaultApplication(const QStringList& mimeTypes) const;

    // The program of a desktop entry (first word of its Exec line), as an
    // absolute path when it is found on PATH; empty when unknown.
    QString programOf(const QString& desktopId) const;

    // The arguments that open file with a desktop entry: its Exec line with
    // its quoting and field codes (see expandDesktopExec); empty when the
    // entry is unknown or its Exec line is unusable.
    QStringList commandFor(const QString& desktopId, const QString& file) const;

private:
    QStringList mimeappsFiles() const;
    QString desktopFile(const QString& desktopId) const;
    QString firstInstalled(const QStringList& ids) const;
};

// The values of key in [group] of an INI-like file, split at ";".
QStringList iniListValue(const QString& file, const QString& group, const QString& key);
// The raw value of key in [group] (blanks around "=" left out); a null
// string when the key is absent.
QString iniValue(const QString& file, const QString& group, const QString& key);

} // namespace brx
