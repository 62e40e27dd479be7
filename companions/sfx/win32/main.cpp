// ZIPSFX.BIN: the front of every self-extracting archive. It reads the
// header and the archive behind it from its own file and extracts it.

#include "SfxRun.h"
#include "Win32Ui.h"
#include "WinText.h"

#include <commctrl.h>
#include <objbase.h>

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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    sfxcore::RunEnvironment env;
    env.exePath = modulePath();
    env.exeName = env.exePath.substr(env.exePath.find_last_of("\\/") + 1);
    env.tempFolder = tempFolder();
    Win32Ui ui(instance);
    const auto result = sfxcore::runSelfExtractor(env, ui);
    CoUninitialize();
    return static_cast<int>(result);
}
