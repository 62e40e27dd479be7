#pragma once
// Copies between files for the conversions, and the central directory
// rewritten with every local-header offset moved by a shift.

#include <QFile>

namespace brx {

// Copies count bytes (-1: to the end) from in's position to out's; false on
// a short read or write.
bool copyBytes(QFile& in, QFile& out, qint64 count);

// Reads entries central headers, then the end record and the archive
// comment from in's position and writes them to out with shift added to
// each local-header offset and to the directory offset. 0, or -2 on any
// read, write or signature failure.
int rewriteCentralDirectory(QFile& in, QFile& out, int entries, qint64 shift);

} // namespace brx
