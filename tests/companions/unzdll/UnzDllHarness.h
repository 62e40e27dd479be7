#pragma once
// Loads UNZDLL.DLL from BRX_BIN_DIR like the engine, runs commands through
// its C entry point and records every callback, answering questions from
// a script. Also a scratch folder that is the current folder while alive.

#include "brx/ZipDllAbi.h"

#include <QTemporaryDir>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct CallbackEvent {
    int action = 0;
    int code = 0;
    int size = 0;         // the fixed field
    int64_t wideSize = 0; // sizes and counts with their 64-bit fields
    std::string text;
};

struct UnzCommand {
    std::string archive;
    std::vector<std::string> specs;
    std::string password;
    bool test = false;
    bool update = false;
    bool freshen = false;
    bool dirNames = true;
    bool overwrite = false;
    int passwordRequests = 0;
};

class UnzDllHarness {
public:
    UnzDllHarness();
    ~UnzDllHarness();

    bool loaded() const { return m_exec != nullptr; }
    int version() const { return m_version ? m_version() : 0; }
    int run(const UnzCommand& command);

    std::vector<CallbackEvent> events;
    std::vector<CallbackEvent> of(int action) const;
    bool hasMessage(int code) const;

    int overwriteAnswer = BRX_OVERWRITE_REPLY_NO;
    std::deque<std::string> passwordAnswers; // "" answers with no password
    int crcReply = BRX_CRC_REPLY_NO_ANSWER;
    int stopOnAction = 0; // answer "stop" to the first callback of this action
    std::function<void(const CallbackEvent&)> onEvent; // runs inside every callback

private:
    static int32_t trampoline(BrxCallbackRecord* record);
    int32_t answer(BrxCallbackRecord& record);

    void* m_handle = nullptr;
    BrxUnzDllExecFn m_exec = nullptr;
    BrxGetUnzDllVersionFn m_version = nullptr;
};

// A temporary folder holding an extraction folder "out", which is the
// current folder for the test's lifetime.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();

    std::filesystem::path root() const { return m_dir.path().toStdString(); }
    std::filesystem::path out() const { return root() / "out"; }
    std::string write(const std::string& name,
                      const std::string& bytes) const; // under root, returns path
    std::vector<std::string>
    filesUnder(const std::filesystem::path& folder) const; // relative, sorted

private:
    QTemporaryDir m_dir;
    std::filesystem::path m_previous;
};

std::string readFile(const std::filesystem::path& path);
