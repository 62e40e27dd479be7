#pragma once
// Finding a file whose name differs only in letter case. The program was
// designed for a file system that ignores case: "Sauve" completed with
// ".ZIP" must still open "Sauve.zip" here.

#include <QString>

namespace brx {

// The path of the existing file (not folder) that path names, its last
// component compared without regard to case; the exact spelling wins when it
// exists, else the first match in name order. The folder part is kept as
// given. Empty when no such file exists.
QString existingFileSpelling(const QString& path);

} // namespace brx
