#pragma once
// Drives ZIPDLL.DLL through its C entry points, as the engine does, with a
// callback that records everything the library reports.

#include "brx/ZipDllAbi.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zipdlltest {

struct Report {
    int32_t action = 0;
    int32_t code = 0;
    int64_t size = 0;
    std::string text;
};

class ZipDll {
public:
    ZipDll();  // dlopen from BRX_BIN_DIR
    ~ZipDll(); // dlclose
    bool loaded() const { return m_exec && m_version; }
    int32_t version() const { return m_version(); }
    int32_t exec(BrxZipCommandRecord& record) const { return m_exec(&record); }

private:
    void* m_handle = nullptr;
    BrxZipDllExecFn m_exec = nullptr;
    BrxGetZipDllVersionFn m_version = nullptr;
};

// One command: fill the options, run, inspect what came back.
class Command {
public:
    explicit Command(std::string archive);

    Command& spec(std::string text);
    Command& exclude(std::string text);
    BrxZipCommandRecord& record() { return m_record; }
    Command& password(const std::string& text);
    Command& comment(std::string text);
    Command& suffixes(std::string text);
    Command& tempDir(std::string folder);

    // Answers to the callback: password for action 8 (empty: none), and a
    // stop after that many progress reports (-1: never).
    std::string passwordAnswer;
    int stopAfterProgress = -1;

    int32_t run(const ZipDll& dll);
    std::vector<Report> reports;
    std::vector<Report> of(int32_t action) const;
    bool hasMessage(int32_t code) const;
    std::string messages() const; // all action-4 texts, for failure output

private:
    static int32_t callback(BrxCallbackRecord* record);

    BrxZipCommandRecord m_record{};
    std::string m_archive;
    std::vector<std::string> m_specTexts, m_excludeTexts;
    std::vector<BrxZipFileSpec> m_specs;
    std::vector<const char*> m_excludes;
    char m_password[BRX_PASSWORD_BUFFER_SIZE] = {};
    std::string m_comment, m_suffixes, m_tempDir;
    int m_progressSeen = 0;
};

// Files under a fresh temporary folder, removed at the end.
class Scratch {
public:
    Scratch();
    ~Scratch();
    std::filesystem::path path(const std::string& relative = {}) const { return m_root / relative; }
    std::filesystem::path write(const std::string& relative, const std::string& content) const;

private:
    std::filesystem::path m_root;
};

std::string readFile(const std::filesystem::path& path);
// Exit status and output of a shell command.
int runTool(const std::string& commandLine, std::string* output = nullptr);
// The archive passes unzip -t, 7zz t and Python's zipfile check.
void expectPeersAccept(const std::filesystem::path& archive, const std::string& password = {});
// Extracts with unzip into a new folder of scratch and returns it.
std::filesystem::path unzipInto(const Scratch& scratch, const std::filesystem::path& archive,
                                const std::string& folder, const std::string& password = {});
std::string randomBytes(size_t size, unsigned seed);
std::string textBytes(size_t size, unsigned seed);
// Entry names in archive order, as stored.
std::vector<std::string> entryNames(const std::filesystem::path& archive);
std::string shellQuote(const std::string& text);

} // namespace zipdlltest
