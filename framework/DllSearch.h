// Where the process may load DLLs from. A SetUp.exe is usually started from a download
// folder, where anybody may have left a DLL with the name of a system library; from the
// first instruction on, DLLs come from the system folder only.
#pragma once

#include <windows.h>

// Restricts DLL loading to the system folder (and drops the current folder everywhere).
void restrictDllSearchToSystemFolder();

// A system library loaded from the system folder, or null.
HMODULE loadSystemLibrary(const char* name);

// An export of a system library (loaded from the system folder) as a pointer of the given
// function type, or null. Libraries the loader does not take from the system folder on its
// own (shell32's dependencies, comctl32) are used this way instead of imported.
template <class Function>
Function systemExport(const char* library, const char* name) {
    HMODULE module = loadSystemLibrary(library);
    FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(proc));
}
