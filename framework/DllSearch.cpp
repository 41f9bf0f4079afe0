// DLL search hardening; see DllSearch.h.
#include "framework/DllSearch.h"

namespace {
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// Windows 7 has SetDefaultDllDirectories only with update KB2533623, so it is looked up
// rather than imported: a missing import would stop the installer from starting at all.
SetDefaultDllDirectoriesFunction findSetDefaultDllDirectories() {
    FARPROC proc = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    return reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(proc));
}
}  // namespace

void restrictDllSearchToSystemFolder() {
    if (SetDefaultDllDirectoriesFunction setDefault = findSetDefaultDllDirectories())
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryA("");  // without the update at least the current folder is left out
}

HMODULE loadSystemLibrary(const char* name) {
    char path[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenA(name) >= MAX_PATH) return nullptr;
    lstrcatA(path, "\\");
    lstrcatA(path, name);
    return LoadLibraryExA(path, nullptr, 0);
}
