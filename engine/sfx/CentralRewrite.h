#pragma once
// Copies between files for the conversions, and the central directory
// rewritten with every local-header offset moved by a shift.

#include "engine/sfx/ArchiveLayout.h"

#include <QFile>

namespace brx {

// Copies count bytes (-1: to the end) from in's position to out's; false on
// a short read or write.
bool copyBytes(QFile& in, QFile& out, qint64 count);

// Writes the layout's central directory, end record and archive comment to
// out with shift added to each local-header offset and to the directory
// offset. 0, or -2 when an offset leaves its field or a write fails.
int rewriteCentralDirectory(const ArchiveLayout& layout, QFile& out, qint64 shift);

} // namespace brx
