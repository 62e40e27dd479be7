#pragma once
// Quoting of command lines for the places the desktop reads them from, so
// that a program path or a file name with blanks, quotes, dollars or
// accents reaches the program as one argument.

#include <QString>

namespace brx {

// One argument of an Exec line of a desktop entry: left alone when it holds
// no reserved character, else in double quotes with ", `, $ and \ escaped.
// The result is also a valid argument of the POSIX shell.
QString execArgument(const QString& argument);

// One argument of the POSIX shell in single quotes.
QString shellArgument(const QString& argument);

// A value as the key files of the desktop store it (\\, \n, \t, \r, \s for a
// leading blank).
QString keyFileValue(const QString& value);

} // namespace brx
