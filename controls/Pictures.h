#pragma once
// Pictures read beside the program ("Zip2Files.gif", "ZipRun.gif", ...):
// shown in a label, animated or still. A missing or unreadable picture
// leaves the label empty; it is never an error.

#include <QString>

class QLabel;

namespace brx {

// The path of a file in the program's folder.
QString ProgramFile(const QString& name);

// Shows the picture file in the label; returns false (and clears the
// label) when the file cannot be shown. A still picture shows its first
// frame.
bool ShowPicture(QLabel* label, const QString& path, bool animated);

} // namespace brx
