// ZIPSFX.BIN: the front of every self-extracting archive. It reads the
// header and the archive behind it from its own file and extracts it.

#include "SfxRun.h"
#include "SystemLibraries.h"
#include "Win32Ui.h"
#include "WinText.h"

namespace {

std::string modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string tempFolder() {
    wchar_t path[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, path);
    return n ? narrow(std::wstring(path, n)) : std::string("C:\\");
}

} // namespace

// Exit status: 0 extracted, 1 cancelled by the user, 2 failed.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    restrictDllSearch();
    initCommonControls();
    initCom();
    sfxcore::RunEnvironment env;
    env.exePath = modulePath();
    const size_t cut = env.exePath.find_last_of("\\/");
    env.exeName = env.exePath.substr(cut + 1);
    env.exeFolder = cut == std::string::npos ? std::string() : env.exePath.substr(0, cut);
    env.tempFolder = tempFolder();
    int result = 0;
    {
        Win32Ui ui(instance);
        result = static_cast<int>(sfxcore::runSelfExtractor(env, ui));
    }
    uninitCom();
    return result;
}
