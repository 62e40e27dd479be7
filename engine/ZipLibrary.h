#pragma once
// One of the two companion libraries, loaded at run time. The handles are
// process-wide: every engine shares them (GUI thread only).

#include <QString>

namespace brx {

struct ZipLibraryNames {
    const char* fileName;    // "ZIPDLL.DLL"
    const char* execName;    // "ZipDllExec"
    const char* versionName; // "GetZipDllVersion"
    int loadedId;            // 10601: reported when tracing
    int noExecId;            // 10602
    int noVersionId;         // 10603
    int notFoundId;          // 10604
};

class ZipLibrary {
public:
    struct LoadResult {
        bool found = false;   // the file could be loaded
        bool hasExec = false; // each entry point was there
        bool hasVersion = false;
        bool loaded() const { return found && hasExec && hasVersion; }
    };

    static ZipLibrary& compression();
    static ZipLibrary& decompression();

    const ZipLibraryNames& names() const { return m_names; }
    bool isLoaded() const { return m_handle != nullptr; }
    // The full path that was loaded, or the bare name found by the search.
    QString loadedFrom() const { return m_loadedFrom; }

    // Tries dllDirectory, then the program's folder, then the normal search.
    // A library without both entry points is unloaded again.
    LoadResult load(const QString& dllDirectory);
    void unload();

    void* execEntry() const { return m_exec; }
    int version() const; // 0 when not loaded

private:
    explicit ZipLibrary(const ZipLibraryNames& names) : m_names(names) {}

    ZipLibraryNames m_names;
    void* m_handle = nullptr;
    void* m_exec = nullptr;
    void* m_version = nullptr;
    QString m_loadedFrom;
};

} // namespace brx
