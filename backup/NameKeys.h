#pragma once
// The characters a user may type in the archive name, the destination and
// the filter of the backup window: letters A to Z and a to z, digits, blank,
// @ ! # $ & * - : _ ~, the path separators "\" and "/", Backspace and Enter.
// Everything else (".", ",", accented letters, other control characters...)
// is discarded as it is typed.

#include <QString>

namespace brx {

bool isNameKeyCharacter(QChar ch);

// True when a key event's text may reach the box: no text at all (arrows,
// Delete, function keys), Tab, or only characters of the set above.
bool acceptsNameKeyText(const QString& text);

} // namespace brx
