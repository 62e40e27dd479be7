#include "SystemLibraries.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

HMODULE systemLibrary(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Looks up a function once; nullptr when the DLL or the function is missing.
template <typename Function>
Function lookup(const wchar_t* dll, const char* name) {
    HMODULE module = systemLibrary(dll);
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

} // namespace

void restrictDllSearch() {
    // Windows 7 without its 2011 loader update lacks the function; leaving out
    // the current folder is what is left there.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

bool initCommonControls() {
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static const auto init = lookup<Init>(L"comctl32.dll", "InitCommonControlsEx");
    if (!init) return false;
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    return init(&controls);
}

PIDLIST_ABSOLUTE browseForFolder(BROWSEINFOW* info) {
    using Browse = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW);
    static const auto browse = lookup<Browse>(L"shell32.dll", "SHBrowseForFolderW");
    return browse ? browse(info) : nullptr;
}

bool pathFromIdList(PCIDLIST_ABSOLUTE list, wchar_t* path) {
    using GetPath = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR);
    static const auto getPath = lookup<GetPath>(L"shell32.dll", "SHGetPathFromIDListW");
    return getPath && getPath(list, path);
}

void freeIdList(void* memory) {
    using Free = void(WINAPI*)(LPVOID);
    static const auto free = lookup<Free>(L"ole32.dll", "CoTaskMemFree");
    if (free) free(memory);
}

HINSTANCE shellOpen(const wchar_t* file, const wchar_t* folder) {
    using Execute = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const auto execute = lookup<Execute>(L"shell32.dll", "ShellExecuteW");
    return execute ? execute(nullptr, L"open", file, nullptr, folder, SW_SHOWNORMAL) : nullptr;
}

void initCom() {
    using Init = HRESULT(WINAPI*)(LPVOID, DWORD);
    static const auto init = lookup<Init>(L"ole32.dll", "CoInitializeEx");
    if (init) init(nullptr, COINIT_APARTMENTTHREADED);
}

void uninitCom() {
    using Uninit = void(WINAPI*)();
    static const auto uninit = lookup<Uninit>(L"ole32.dll", "CoUninitialize");
    if (uninit) uninit();
}
