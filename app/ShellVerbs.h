#pragma once
// The file-manager verbs and the ".zip" association, kept in the class-root
// key store exactly as the program has always written them in the registry:
// one verb on folders, one on executables, two on ZIP archives under the
// class that ".zip" names, and the class "zip_auto_file" with its icon.
// Both operations stop at the first store error and let it propagate
// (EClassRootStore); what was done until then stays done.

#include "platform/ClassRootStore.h"
#include "engine/base/UserHost.h"

namespace brx {

inline const QString kZipAutoFile = QStringLiteral("zip_auto_file");
inline const QString kFolderVerb = QStringLiteral("Fichiers Vers &Zip");
inline const QString kExeVerb = QStringLiteral("Exe Vers &Zip");
inline const QString kZipToExeVerb = QStringLiteral("Zip Vers &Exe");
inline const QString kZipToFilesVerb = QStringLiteral("Zip Vers &Fichiers");

// The command line a verb stores: the program (quoted or not), one blank,
// the prefix glued to "%1" in double quotes.
QString verbCommand(const QString& program, const QString& prefix, bool quoteProgram);

// Writes the verbs; asks through host whether ".zip" should leave another
// class. programPath is the full path of the program file.
void RegisterVerbs(IClassRootStore& store, IUserHost& host, const QString& programPath);

// Removes the verbs' commands, toggles ".brx", and says so in an "Info" box.
void UnregisterVerbs(IClassRootStore& store, IUserHost& host);

} // namespace brx
