#pragma once
// Which file holds the settings: "BRAMBLEX.INI" beside the program when it
// exists there, else "BRX_EXPL.INI". Names are compared without regard to
// case, so a "bramblex.ini" written by another part of the program is found.

#include <QString>

namespace brx {

inline const QString kFamilySettingsName = QStringLiteral("BRAMBLEX.INI");
inline const QString kProgramSettingsName = QStringLiteral("BRX_EXPL.INI");

// The settings file for a program folder (given with or without trailing "/").
// An existing file is returned with its spelling on disk.
QString settingsFileIn(const QString& programFolder);

// The process-wide settings path, fixed once at start-up.
QString settingsFilePath();
void setSettingsFilePath(const QString& path);

} // namespace brx
