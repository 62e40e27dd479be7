#include "UnzDllHarness.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <sstream>

UnzDllHarness::UnzDllHarness() {
    const std::string path =
        std::string(qgetenv("BRX_BIN_DIR").constData()) + "/" + BRX_UNZDLL_FILE_NAME;
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) return;
    m_exec = reinterpret_cast<BrxUnzDllExecFn>(dlsym(m_handle, BRX_UNZDLL_EXEC_NAME));
    m_version = reinterpret_cast<BrxGetUnzDllVersionFn>(dlsym(m_handle, BRX_UNZDLL_VERSION_NAME));
}

UnzDllHarness::~UnzDllHarness() {
    if (m_handle) dlclose(m_handle);
}

int UnzDllHarness::run(const UnzCommand& command) {
    std::vector<BrxUnzFileSpec> specs(command.specs.size() + 1);
    for (size_t i = 0; i < command.specs.size(); ++i) specs[i].spec = command.specs[i].c_str();
    std::string password = command.password;
    BrxUnzCommandRecord record{};
    record.caller = this;
    record.version = BRX_RECORD_VERSION;
    record.callback = &UnzDllHarness::trampoline;
    record.password = password.data();
    record.test = command.test ? -1 : 0;
    record.always40 = -1;
    record.update = command.update ? -1 : 0;
    record.freshen = command.freshen ? -1 : 0;
    record.dirNames = command.dirNames ? -1 : 0;
    record.overwrite = command.overwrite ? -1 : 0;
    record.specCount = static_cast<int32_t>(command.specs.size());
    record.zipFileName = command.archive.c_str();
    record.specs = specs.data();
    record.passwordReqCount = command.passwordRequests;
    record.check = BRX_RECORD_CHECK;
    return m_exec(&record);
}

int32_t UnzDllHarness::trampoline(BrxCallbackRecord* record) {
    return static_cast<UnzDllHarness*>(record->caller)->answer(*record);
}

int32_t UnzDllHarness::answer(BrxCallbackRecord& record) {
    events.push_back({record.actionCode, record.errorCode, record.size,
                      static_cast<int64_t>(brxCallbackSize(&record)),
                      std::string(record.text, strnlen(record.text, sizeof record.text))});
    if (onEvent) onEvent(events.back());
    if (record.actionCode == BRX_ACTION_OVERWRITE) record.size = overwriteAnswer;
    if (record.actionCode == BRX_ACTION_CRC_ERROR) record.errorCode = crcReply;
    if (record.actionCode == BRX_ACTION_PASSWORD) {
        const std::string reply = passwordAnswers.empty() ? std::string() : passwordAnswers.front();
        if (!passwordAnswers.empty()) passwordAnswers.pop_front();
        std::memset(record.text, 0, sizeof record.text);
        std::memcpy(record.text, reply.data(), reply.size());
        record.errorCode = reply.empty() ? BRX_PASSWORD_REPLY_NONE : BRX_PASSWORD_REPLY_GIVEN;
        if (reply.empty()) record.size = 0;
    }
    if (stopOnAction != 0 && record.actionCode == stopOnAction) return BRX_CALLBACK_STOP;
    return BRX_CALLBACK_GO_ON;
}

std::vector<CallbackEvent> UnzDllHarness::of(int action) const {
    std::vector<CallbackEvent> found;
    std::copy_if(events.begin(), events.end(), std::back_inserter(found),
                 [action](const CallbackEvent& e) { return e.action == action; });
    return found;
}

bool UnzDllHarness::hasMessage(int code) const {
    return std::any_of(events.begin(), events.end(), [code](const CallbackEvent& e) {
        return e.action == BRX_ACTION_MESSAGE && e.code == code;
    });
}

ScratchFolder::ScratchFolder() : m_previous(std::filesystem::current_path()) {
    std::filesystem::create_directory(out());
    std::filesystem::current_path(out());
}

ScratchFolder::~ScratchFolder() {
    std::filesystem::current_path(m_previous);
}

std::string ScratchFolder::write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path path = root() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

std::vector<std::string> ScratchFolder::filesUnder(const std::filesystem::path& folder) const {
    std::vector<std::string> files;
    for (auto it = std::filesystem::recursive_directory_iterator(folder);
         it != std::filesystem::recursive_directory_iterator(); ++it)
        files.push_back(it->path().lexically_relative(folder).string()); // never through links
    std::sort(files.begin(), files.end());
    return files;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}
