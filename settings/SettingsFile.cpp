#include "settings/SettingsFile.h"

#include "support/PathNames.h"

#include <QDir>

namespace brx {

namespace {

QString existingSpelling(const QDir& folder, const QString& name) {
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
    return {};
}

QString& settingsPathSlot() {
    static QString path;
    return path;
}

} // namespace

QString settingsFileIn(const QString& programFolder) {
    const QDir folder(programFolder);
    const QString base = WithBackslash(programFolder);
    const QString family = existingSpelling(folder, kFamilySettingsName);
    if (!family.isEmpty()) return base + family;
    const QString own = existingSpelling(folder, kProgramSettingsName);
    return base + (own.isEmpty() ? kProgramSettingsName : own);
}

QString settingsFilePath() {
    return settingsPathSlot();
}

void setSettingsFilePath(const QString& path) {
    settingsPathSlot() = path;
}

} // namespace brx
