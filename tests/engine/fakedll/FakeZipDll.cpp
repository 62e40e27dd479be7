// A stand-in for the companion libraries: reports a chosen version, keeps a
// copy of the command record it receives (read with the layout its version
// implies) and runs scripted callback actions, keeping the engine's replies.
// Built twice: as ZIPDLL.DLL and (with FAKE_UNZ) as UNZDLL.DLL.

#include <brx/ZipDllAbi.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Action {
    int code, errorCode, size;
    std::string text;
    long long wideSize = -1; // >= 0: also in the 64-bit fields, as the real libraries send it
};

struct Reply {
    int action, errorCode, size, result;
    std::string text;
};

int g_version = BRX_DLL_VERSION;
int g_result = 1;
int g_check = 0;
std::map<std::string, std::string> g_strings;
std::map<std::string, long long> g_fields;
std::vector<Action> g_actions;
std::vector<Reply> g_replies;

void keep(const char* key, const char* text) {
    if (text) g_strings[key] = text;
}

void runActions(void* caller, BrxCallbackFn callback) {
    for (const Action& a : g_actions) {
        BrxCallbackRecord r{};
        r.caller = caller;
        r.actionCode = a.code;
        r.errorCode = a.errorCode;
        r.size = a.size;
        if (a.wideSize >= 0) {
            r.sizeHigh = uint32_t(static_cast<unsigned long long>(a.wideSize) >> 32);
            r.sizeLow = uint32_t(a.wideSize);
        }
        std::memcpy(r.text, a.text.data(), std::min(a.text.size(), sizeof r.text - 1));
        const int result = callback(&r);
        g_replies.push_back({r.actionCode, r.errorCode, r.size, result,
                             std::string(r.text, strnlen(r.text, sizeof r.text))});
        if (result == BRX_CALLBACK_STOP) break;
    }
}

#ifndef FAKE_UNZ
template <class Record>
void keepZipCommon(const Record* r) {
    keep("zipFileName", r->zipFileName);
    keep("password", r->password);
    keep("storeSuffixes", r->storeSuffixes);
    g_fields["passwordBufferEnd"] = r->password ? r->password[BRX_PASSWORD_MAX_LENGTH] : -1;
    g_fields["encrypt"] = r->encrypt;
    g_fields["dirEntries"] = r->dirEntries;
    g_fields["verbose"] = r->verbose;
    g_fields["levelGiven"] = r->levelGiven;
    g_fields["level"] = r->level;
    g_fields["namesOnly"] = r->namesOnly;
    g_fields["recurse"] = r->recurse;
    g_fields["adding"] = r->adding;
    g_fields["move"] = r->move;
    g_fields["deleteEntries"] = r->deleteEntries;
    g_fields["update"] = r->update;
    g_fields["freshen"] = r->freshen;
    g_fields["specCount"] = r->specCount;
    g_fields["owner"] = r->ownerWindow != nullptr;
    g_fields["version"] = r->version;
}
#endif

} // namespace

FAKE_EXPORT void FakeReset(int version, int result) {
    g_version = version;
    g_result = result;
    g_check = 0;
    g_strings.clear();
    g_fields.clear();
    g_actions.clear();
    g_replies.clear();
}

FAKE_EXPORT void FakeQueueAction(int code, int errorCode, int size, const char* text) {
    g_actions.push_back({code, errorCode, size, text ? text : ""});
}

// A size of 2 GiB or more: INT32_MAX in the fixed field, the whole value
// in the 64-bit fields.
FAKE_EXPORT void FakeQueueWideAction(int code, long long size, const char* text) {
    g_actions.push_back(
        {code, 0, size > INT32_MAX ? INT32_MAX : int(size), text ? text : "", size});
}

FAKE_EXPORT int FakeCheck() {
    return g_check;
}

FAKE_EXPORT const char* FakeString(const char* key) {
    const auto it = g_strings.find(key);
    return it == g_strings.end() ? nullptr : it->second.c_str();
}

FAKE_EXPORT long long FakeField(const char* key) {
    const auto it = g_fields.find(key);
    return it == g_fields.end() ? -999 : it->second;
}

FAKE_EXPORT int FakeReplyCount() {
    return int(g_replies.size());
}

// action, errorCode, size, result into values[4]; the text into text (512 bytes).
FAKE_EXPORT void FakeReply(int i, int* values, char* text) {
    const Reply& r = g_replies.at(size_t(i));
    values[0] = r.action;
    values[1] = r.errorCode;
    values[2] = r.size;
    values[3] = r.result;
    std::memcpy(text, r.text.data(), std::min<size_t>(r.text.size(), BRX_CALLBACK_TEXT_SIZE - 1));
}

#ifndef FAKE_UNZ

#ifndef FAKE_NO_VERSION
FAKE_EXPORT int32_t GetZipDllVersion() {
    return g_version;
}
#endif

FAKE_EXPORT int32_t ZipDllExec(BrxZipCommandRecord* record) {
    if (g_version < BRX_ZIP_SHORT_RECORD_VERSION) {
        const auto* r = reinterpret_cast<const BrxZipCommandRecordOld*>(record);
        keepZipCommon(r);
        g_check = r->check;
        for (int i = 0; i < r->specCount && i < BRX_OLD_RECORD_MAX_SPECS; ++i)
            keep(("spec" + std::to_string(i)).c_str(), r->specs[i]);
        runActions(r->caller, r->callback);
        return g_result;
    }
    const BrxZipCommandRecord* r = record;
    keepZipCommon(r);
    g_check = r->check;
    keep("tempDir", r->tempDir);
    keep("comment", r->comment);
    g_fields["archiveOnly"] = r->archiveOnly;
    g_fields["excludeCount"] = r->excludeCount;
    for (int i = 0; i < r->specCount; ++i)
        keep(("spec" + std::to_string(i)).c_str(), r->specs[i].spec);
    for (int i = 0; i < r->excludeCount; ++i)
        keep(("exclude" + std::to_string(i)).c_str(), r->excludes[i]);
    runActions(r->caller, r->callback);
    return g_result;
}

#else

FAKE_EXPORT int32_t GetUnzDllVersion() {
    return g_version;
}

template <class Record>
void keepUnzCommon(const Record* r) {
    keep("zipFileName", r->zipFileName);
    keep("password", r->password);
    g_fields["test"] = r->test;
    g_fields["always40"] = r->always40;
    g_fields["update"] = r->update;
    g_fields["freshen"] = r->freshen;
    g_fields["dirNames"] = r->dirNames;
    g_fields["overwrite"] = r->overwrite;
    g_fields["specCount"] = r->specCount;
}

FAKE_EXPORT int32_t UnzDllExec(BrxUnzCommandRecord* record) {
    if (g_version < BRX_UNZ_SHORT_RECORD_VERSION) {
        const auto* r = reinterpret_cast<const BrxUnzCommandRecordOld*>(record);
        keepUnzCommon(r);
        g_check = r->check;
        for (int i = 0; i < r->specCount && i < BRX_OLD_RECORD_MAX_SPECS; ++i)
            keep(("spec" + std::to_string(i)).c_str(), r->specs[i]);
        runActions(r->caller, r->callback);
        return g_result;
    }
    const BrxUnzCommandRecord* r = record;
    keepUnzCommon(r);
    g_check = r->check;
    g_fields["passwordReqCount"] = r->passwordReqCount;
    for (int i = 0; i < r->specCount; ++i)
        keep(("spec" + std::to_string(i)).c_str(), r->specs[i].spec);
    runActions(r->caller, r->callback);
    return g_result;
}

#endif
