#pragma once
// The DLLs that are not "known DLLs" (comctl32, and shell32 and ole32 whose
// own imports would otherwise be searched for beside the program) are loaded
// here, at run time, from the system folder only. A DLL planted beside a
// downloaded self-extractor can then never load in its place. The import
// table keeps to kernel32, user32, gdi32, advapi32 and msvcrt.

#include <windows.h>
#include <shlobj.h>

// Restricts the DLL search to the system folder for the rest of the process.
// Must run before anything else loads a library.
void restrictDllSearch();

// Loads comctl32 (version 6 through the manifest) and registers the progress
// bar class. False when it cannot be loaded.
bool initCommonControls();

// shell32 and ole32 entry points; each returns a failure value when its DLL
// or function is missing.
PIDLIST_ABSOLUTE browseForFolder(BROWSEINFOW* info);
bool pathFromIdList(PCIDLIST_ABSOLUTE list, wchar_t* path);
void freeIdList(void* memory);
HINSTANCE shellOpen(const wchar_t* file, const wchar_t* folder);
void initCom();
void uninitCom();
