#pragma once
// Reading Windows shortcut files (.lnk, the Shell Link binary format).

#include <QByteArray>
#include <QString>

namespace brx {

struct ShellLinkInfo {
    QString targetPath; // local base path + common suffix, or network share + suffix
    QString arguments;
    QString workingDir;
};

// False when data is not a shortcut or is cut short.
bool parseShellLink(const QByteArray& data, ShellLinkInfo& info);

} // namespace brx
