#pragma once
// The archive name the one-click backup proposes for what it was started on.

#include <QString>

namespace brx {

class ILocaleInfo;
class IVolumes;

// True when the user's language is French, whatever the country.
bool IsFrenchUser();
bool IsFrenchUser(const ILocaleInfo& locale);

// The base name of the archive for source (a folder, a volume root, a ".BRX"
// backup set or any path): its last path component, "Dsk_..." for a volume
// root, "SansNom"/"NoName" for nothing. withExtension appends ".exe" (asExe)
// or ".zip" unless the name already holds that extension anywhere.
QString ArchiveBaseName(const QString& source, bool asExe, bool withExtension);
QString ArchiveBaseName(const QString& source, bool asExe, bool withExtension,
                        const IVolumes& volumes, const ILocaleInfo& locale);

} // namespace brx
