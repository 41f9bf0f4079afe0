// The installer's own executable path, read in one place. Tests point it elsewhere so
// that the search for the setup data folder can run against a prepared folder.
#pragma once

#include <string>

// Full path of the running executable, as GetModuleFileNameA gives it (a buffer of 261
// characters, the size the call is given), or the override when one is set.
std::string moduleFilePath();
// The same in UTF-16, whole whatever the system code page (to copy the program, or to name
// it); empty when it does not fit MAX_PATH.
std::wstring moduleFileName();

// Sets (non-empty) or clears (empty) the path that moduleFilePath returns.
void overrideModuleFilePath(const std::string& path);
