#pragma once
// Text of names and comments inside archives. Archives written on DOS and
// Windows hold names in the OEM code page, here IBM code page 850; others hold
// UTF-8 (flagged or not) or a single-byte code page.

#include <QByteArray>
#include <QString>

namespace brx {

enum TCodePageMode {
    cpAuto,
    cpNone,
    cpOEM
};

// OEM (IBM 850) to Unicode, one byte at a time; bytes below 128 stay ASCII.
QString oemToAnsi(const QByteArray& bytes);

// Bytes taken as they stand: UTF-8 when they are valid UTF-8, otherwise
// Latin-1, so that no byte is ever lost.
QString bytesAsAnsi(const QByteArray& bytes);

// The code-page rule for an entry name, entry comment or archive comment.
// host and version are the two bytes of the version-made-by field; names
// flagged UTF-8 (general purpose bit 11) are never converted.
QString archiveText(const QByteArray& bytes, TCodePageMode mode, int host, int version,
                    bool utf8Flag);

} // namespace brx
