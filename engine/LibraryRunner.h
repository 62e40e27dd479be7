#pragma once
// The engine's side of the two companion libraries: loading them with the
// messages the owner sees, running one command record, and the state of
// the running command (busy flags, Cancel, SuccessCnt). Owned by
// TZipEngine; the library handles themselves are process-wide (ZipLibrary).

#include <QString>
#include <cstdint>

namespace brx {

class MessagePath;
struct ZipCommand;

class LibraryRunner {
public:
    explicit LibraryRunner(MessagePath& messages) : m_messages(messages) {}

    // Loads the compression (zip) or decompression library unless loaded;
    // failures and missing entry points are reported.
    void load(bool zip, const QString& dllDirectory, bool trace);
    void unload(bool zip);
    bool isLoaded(bool zip) const;
    // The loaded library's version (0 when not loaded).
    int loadedVersion(bool zip) const;
    // The library's version, loading it for the call when needed; 0 when
    // it cannot be loaded.
    int version(bool zip, const QString& dllDirectory, bool trace);

    // Runs one command through the loaded library; the number of items
    // processed, 0 after a fatal error (reported).
    int32_t execute(ZipCommand& command, bool zip);

    bool& busyFlag(bool zip) { return zip ? m_zipBusy : m_unzBusy; }
    bool zipBusy() const { return m_zipBusy; }
    bool unzBusy() const { return m_unzBusy; }
    bool cancel() const { return m_cancel; }
    void setCancel(bool cancel) { m_cancel = cancel; }
    int successCnt() const { return m_successCnt; }
    const int& successCntRef() const { return m_successCnt; }
    void setSuccessCnt(int count) { m_successCnt = count; }
    // An event handler threw inside the library call: the call ends as fatal.
    void callbackFailed() { m_callbackFailed = true; }

private:
    MessagePath& m_messages;
    int m_successCnt = 0;
    bool m_zipBusy = false;
    bool m_unzBusy = false;
    bool m_cancel = false;
    bool m_callbackFailed = false;
};

// A library loaded for one command when the owner had not loaded it, and
// unloaded again when the scope ends, however it ends.
class ScopedLibrary {
public:
    ScopedLibrary(LibraryRunner& runner, bool zip, const QString& dllDirectory, bool trace);
    ~ScopedLibrary();
    ScopedLibrary(const ScopedLibrary&) = delete;
    ScopedLibrary& operator=(const ScopedLibrary&) = delete;

    bool loaded() const { return m_runner.isLoaded(m_zip); }

private:
    LibraryRunner& m_runner;
    bool m_zip;
    bool m_loadedHere;
};

} // namespace brx
