#pragma once
// ConvertToExe and ConvertToZip: a ZIP archive becomes a self-extracting
// program (stub + header + archive with shifted offsets) and back. The
// engine calls them with a context that carries its properties and its
// message path; the result codes are the engine's:
//    0 success
//   -1 output file could not be created
//   -2 write error, read error before the header search, directory rewrite failed
//   -3 stub or archive could not be opened or read; ConvertToZip input checks
//   -9 checks before starting, or an output of the wrong length
//  -10 icon: stub not a PE file or without a 744-byte icon; ConvertToZip: out of memory
//  -11 icon: failure while replacing
//  -12 icon: SFXIcon cannot become a 766-byte icon

#include "engine/sfx/SfxProperties.h"

#include <QString>
#include <functional>

namespace brx {

struct SfxConvertContext {
    QString zipFileName;     // the source; on success the produced file
    QString sfxPath;         // SFXPath; holds the stub that was used
    QString dllDirectory;    // DLLDirectory, a last place for the stub
    QString programFolder;   // the program's own folder
    SfxProperties props;     // written into the header; read back by ConvertToZip
    bool newArchive = false; // ConvertToExe: zipFileName is the EXE to create with an empty archive

    // The engine's message path: an id and the text that follows the id's own.
    std::function<void(int id, const QString& extra)> showMessage;
    // EraseFile(name, HowToDelete); removes the file when not set.
    std::function<int(const QString& name)> eraseFile;
    // The busy cursor.
    std::function<void(bool busy)> setBusy;
};

int ConvertToExe(SfxConvertContext& context);
int ConvertToZip(SfxConvertContext& context);

// Stores each candidate into sfxPath and keeps the first that exists: the
// path as set, "ZIPSFX.BIN" in the current folder, beside the program, in
// dllDirectory. (The system and Windows folders of the original search have
// no counterpart here.) False when none exists.
bool locateStub(SfxConvertContext& context);

} // namespace brx
