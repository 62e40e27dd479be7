#pragma once
// Texts that the program keeps only in enciphered form and deciphers at use.

#include <QString>

namespace brx {

// The backup window's long hint (shown in its status line), 25 characters.
QString backupWindowLongHint();

} // namespace brx
