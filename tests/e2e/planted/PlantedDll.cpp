// A DLL planted beside an executable under the name of a system library: when a process
// loads it, it leaves a marker file named after itself in the process's folder.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char dllPath[MAX_PATH] = {}, marker[MAX_PATH + 32] = {};
    GetModuleFileNameA(self, dllPath, MAX_PATH);
    wsprintfA(marker, "%s.loaded", dllPath);
    HANDLE file =
        CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
