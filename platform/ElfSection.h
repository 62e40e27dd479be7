#pragma once
// Reads one named section of an ELF file (32 or 64 bit, either byte order)
// from disk. Every offset and size is checked against the file's length, so a
// truncated or damaged file gives an empty result, never an over-read.

#include <QByteArray>
#include <QString>

namespace brx {

// The section's bytes; empty when the file is not ELF, has no such section,
// or the section does not fit in the file or exceeds maxSize.
QByteArray readElfSection(const QString& file, const char* sectionName, qint64 maxSize = 1 << 20);

} // namespace brx
