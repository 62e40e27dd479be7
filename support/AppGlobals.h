#pragma once
// Process-wide values fixed at start-up, before any window exists.

#include <QString>

namespace brx {

inline const QString kApplicationTitle = QStringLiteral("BRX_EXPLO");
inline const QString kHelpFileName = QStringLiteral("bramblex.hlp");
inline constexpr int kHelpContext = 219;

// The title shown in message-box captions ("BRX_EXPLO" once the program started).
QString applicationTitle();
void setApplicationTitle(const QString& title);

// The help file: the bare name at start; the archive manager's help command
// sets it to the program folder's copy.
QString helpFile();
void setHelpFile(const QString& file);

} // namespace brx
