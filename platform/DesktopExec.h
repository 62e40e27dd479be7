#pragma once
// The Exec line of a freedesktop desktop entry turned into the argument list
// that opens one file: string escapes, double-quoted arguments with their
// backslash escapes, and field codes.

#include <QString>
#include <QStringList>
#include <optional>

namespace brx {

// What the field codes of an Exec line stand for.
struct DesktopExecContext {
    QString file;        // %f %u %F %U (one local path; paths are valid for %u too)
    QString icon;        // %i: "--icon" and this, nothing when empty
    QString name;        // %c: the application's name
    QString desktopFile; // %k: where the entry was read from
};

// exec: the raw value of the Exec key, as it stands in the file.
// %% is a percent sign; the deprecated %d %D %n %N %v %m are dropped, and an
// unquoted argument made only of field codes that expand to nothing is
// dropped with them. Field codes are not expanded inside quotes. When the line
// names no file (%f %F %u %U), the file is added as the last argument, as the
// program would receive a document passed to it. nullopt for a line that is
// empty, has an unclosed quote, ends in a lone backslash or uses a field code
// that does not exist: such a line must not be run.
std::optional<QStringList> expandDesktopExec(const QString& exec,
                                             const DesktopExecContext& context);

// The escapes of a desktop entry's string values: \s \n \t \r \\ (any other
// backslash is kept for the Exec quoting rule).
QString unescapeDesktopString(const QString& value);

} // namespace brx
