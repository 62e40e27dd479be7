/* A stand-in for a DLL planted beside a downloaded self-extractor. The tests
 * put it there as comctl32.dll: when it is ever loaded, it leaves a file
 * named planted-dll-loaded.txt beside itself. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 32];
    DWORD n = GetModuleFileNameW(instance, path, MAX_PATH);
    while (n > 0 && path[n - 1] != L'\\') --n;
    lstrcpyW(path + n, L"planted-dll-loaded.txt");
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}

/* The entry point the stub looks up, so that a loaded plant would be used. */
__declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void* controls) {
    (void)controls;
    return TRUE;
}
