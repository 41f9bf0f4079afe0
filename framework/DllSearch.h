// Where the process may load DLLs from. A SetUp.exe is usually started from a download
// folder, where anybody may have left a DLL with the name of a system library; from the
// first instruction on, DLLs come from the system folder only.
#pragma once

#include <windows.h>

// Restricts DLL loading to the system folder (and drops the current folder everywhere).
void restrictDllSearchToSystemFolder();

// A system library loaded from the system folder, or null.
HMODULE loadSystemLibrary(const char* name);
