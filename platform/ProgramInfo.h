#pragma once
// Where the program lives. Settings, log, staging folder and companions sit
// beside the executable, so this folder must be writable by the user.

#include <QString>

namespace brx {

// The folder of the executable, with a trailing "/".
QString programFolder();
// The full path of the executable.
QString programFilePath();

} // namespace brx
